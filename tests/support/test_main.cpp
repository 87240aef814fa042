#include "ui/display_scale.h"
#include "window_child.h"

#include <QApplication>

#include <gtest/gtest.h>

// The window tests need a QApplication; without a display they run on the
// offscreen platform, which is also what test discovery at build time gets.
// A window child makes its own, once it is restricted (see window_child.h).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows under test follow the display's scale as the programs do.
    dalvero::followDisplayScale();
    if (dalvero::testing::isWindowChild())
        return dalvero::testing::runAsWindowChild();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
