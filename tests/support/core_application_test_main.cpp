#include <gtest/gtest.h>

#include <QCoreApplication>

// The serial port delivers bytes through the Qt event loop of the thread that owns it.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
