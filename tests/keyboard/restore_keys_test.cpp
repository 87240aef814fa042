// Putting a backup back with the keyboard alone, the file dialog answered
// by script; a screen reader finds a name on every control on the way.
#include "support/restore_fixture.h"
#include "support/window_driver.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace dalvero::testing {
namespace {

TEST_F(RestoreTest, PutsACopyBackWithTheKeyboardAlone) {
    const QString unikon = scratch.writeFile(QStringLiteral("unikon/z12345"), "new\r\n");
    scratch.writeFile(copyPath("z12345_06-12-26"), "old\r\n");
    scratch.writeFile(copyPath("z12345_07-12-26"), "newer\r\n");
    ASSERT_TRUE(WindowDriver::bringToFront(start()));
    for (const QWidget* control : window->findChildren<QWidget*>(QRegularExpression("^[A-Z]")))
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName();
    EXPECT_EQ(WindowDriver::focusedControl(), QStringLiteral("Copies"));
    // Nothing to put back before a file is chosen.
    EXPECT_EQ(WindowDriver::focusPath(Qt::Key_Tab, 6),
              QStringList({"ChooseFile", "FileLines", "CopyLines", "Close", "Help", "Copies"}));
    // The user guide, with F1 and with Alt+H, and the focus stays where it was.
    WindowDriver::press(Qt::Key_F1);
    WindowDriver::press(Qt::Key_H, Qt::AltModifier); // a mnemonic clicks a moment later
    ASSERT_TRUE(QTest::qWaitFor([&] { return seam.browsed.size() == 2; }));
    EXPECT_TRUE(QFileInfo(seam.browsed[0].toLocalFile()).isFile()) << seam.browsed[0].toString();
    EXPECT_EQ(WindowDriver::focusedControl(), QStringLiteral("Copies"));

    ASSERT_TRUE(WindowDriver::arrowTo(QStringLiteral("z12345_06-12-26")));
    ASSERT_TRUE(WindowDriver::moveFocusTo(QStringLiteral("ChooseFile")));
    chooser.answers << unikon;
    WindowDriver::press(Qt::Key_Space);
    ASSERT_TRUE(WindowDriver::moveFocusTo(QStringLiteral("PutBack")));
    WindowDriver::press(Qt::Key_Return);

    EXPECT_EQ(fileBytes(unikon), "old\r\n");
    EXPECT_EQ(fileBytes(scratch.filePath(copyPath("z12345_07-12-26_2"))), "new\r\n");
    EXPECT_EQ(seam.messages.size(), 1);
    EXPECT_TRUE(seam.failures.isEmpty());
}

} // namespace
} // namespace dalvero::testing
