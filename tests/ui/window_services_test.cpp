#include "ui/window_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Inside the event loop the program's end leaves the loop with the status,
// so that main() returns it; the handler that asked for it runs on to its
// own return first.
TEST(WindowServices, EndingInsideTheEventLoopLeavesItWithTheStatus) {
    dalvero::WindowServices seam;
    bool handlerFinished = false;
    QTimer::singleShot(0, [&] {
        seam.endProgram(3);
        handlerFinished = true;
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 3);
    EXPECT_TRUE(handlerFinished);
}

TEST(WindowServices, TodayIsShortDateText) {
    dalvero::WindowServices seam;
    EXPECT_FALSE(seam.todayText().isEmpty());
    EXPECT_FALSE(seam.todayText().contains(QLatin1Char(':')));
}

} // namespace
