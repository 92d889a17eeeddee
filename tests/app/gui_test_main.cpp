#include <gtest/gtest.h>

#include <QApplication>

// Widget tests need one QApplication for the whole program (offscreen, set by the test's
// environment).
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
