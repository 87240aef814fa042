#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

// No QApplication here: every window of these tests runs in a child process
// of its own, which makes its own application object after it has been
// restricted (dropped to an unprivileged user, or given a small disk).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
