#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The tests look for the source tree and the programs through these.
    if (qEnvironmentVariableIsEmpty("TARMELA_SOURCE_DIR"))
        qputenv("TARMELA_SOURCE_DIR", TARMELA_TEST_SOURCE_DIR);
    if (qEnvironmentVariableIsEmpty("TARMELA_BIN_DIR"))
        qputenv("TARMELA_BIN_DIR", TARMELA_TEST_BIN_DIR);
    // Pages with text are painted in the engine tests too, which needs a GUI application;
    // the offscreen platform needs no display (also when the tests are only listed).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
