// The test programs' start: the desktop tests' needs widgets, the others' a GUI application
// (pages with text are painted in the engine tests too).
#ifdef TARMELA_TESTS_WITH_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
constexpr bool kAlwaysOffscreen = true; // never a window on the desktop being worked at
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
constexpr bool kAlwaysOffscreen = false;
#endif
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The tests look for the source tree and the programs through these.
    if (qEnvironmentVariableIsEmpty("TARMELA_SOURCE_DIR"))
        qputenv("TARMELA_SOURCE_DIR", TARMELA_TEST_SOURCE_DIR);
    if (qEnvironmentVariableIsEmpty("TARMELA_BIN_DIR"))
        qputenv("TARMELA_BIN_DIR", TARMELA_TEST_BIN_DIR);
    // The offscreen platform needs no display (also when the tests are only listed).
    if (kAlwaysOffscreen || qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
