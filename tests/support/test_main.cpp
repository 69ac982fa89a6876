// The main of every test binary: isolates the process, then runs the tests inside a QApplication on the
// offscreen platform (gtest discovery runs the binary at build time, with no display).
#include <gtest/gtest.h>

#include <QApplication>

#include "app/settings/numbertext.h"
#include "tests/support/testenv.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    skyrel::test::IsolateProcessEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The program itself puts the C numeric locale back after its application object is made; the tests
    // exercise the same code paths, so they do the same.
    skyrel::UseCNumbers();
    return RUN_ALL_TESTS();
}
