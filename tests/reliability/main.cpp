#include "window_workflow.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

// Every window of these tests runs in a child process: this program started
// again, which makes its own application object after it has been restricted
// (dropped to an unprivileged user, or given a small disk). The tests
// themselves need only an application for starting those children.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (dalvero::testing::isWindowChild())
        return dalvero::testing::runAsWindowChild(dalvero::testing::runWorkflowJob);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
