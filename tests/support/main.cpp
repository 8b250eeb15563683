#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

// One application object per test program. Tests run without a display
// unless the desktop session asks for the real one.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QUORVEL_TEST_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
