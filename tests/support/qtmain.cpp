#include <QApplication>

#include <gtest/gtest.h>

// Test main for every test program: a QApplication on the offscreen platform (unless the
// environment chose another), so widget tests run without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
