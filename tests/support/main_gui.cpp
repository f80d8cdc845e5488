#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The tests look for the source tree and the programs through these.
    if (qEnvironmentVariableIsEmpty("TARMELA_SOURCE_DIR"))
        qputenv("TARMELA_SOURCE_DIR", TARMELA_TEST_SOURCE_DIR);
    if (qEnvironmentVariableIsEmpty("TARMELA_BIN_DIR"))
        qputenv("TARMELA_BIN_DIR", TARMELA_TEST_BIN_DIR);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
