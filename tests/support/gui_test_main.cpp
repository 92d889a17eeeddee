// Widget tests need one QApplication for the whole run, and the UI font made as the program makes
// it at start-up.
#include <QApplication>

#include <gtest/gtest.h>

#include "ui/common/ui_font.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    halyx::CreateUiFont();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
