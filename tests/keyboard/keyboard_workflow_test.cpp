// The whole job without a mouse: from a fresh window to the rewritten UNIKON
// file and its backup, with keys sent only to the widget that has the focus.
#include "program.h"
#include "support/named_row.h"
#include "support/window_test.h"

#include <QAbstractItemView>
#include <QFileInfo>

namespace dalvero::testing {
namespace {

const QByteArray kExport = "Eksport \xd8stby\r\nMedlem 12345\r\n"
                           "1DK-X07-1111F\xe6\r\n" // kept, in the old file
                           "2DK-X07-2222x\r\n"     // kept, new
                           "3DK-X08-3333F\r\n"     // left out with its year
                           "4DK-X09-4444F\r\n";    // left out with Space
const QByteArray kOldUnikon = " 0700DK-1111 \xc5\xc6\xd8-tail-01\r\n"
                              " 0800DK-3333W33333333333\r\n"
                              " 0900DK-4444W44444444444\r\n";
const QByteArray kNewUnikon = " 0700DK-1111W\xc5\xc6\xd8-tail-01\r\n"
                              " 0700DK-2222 00000000000\r\n";

struct DanFilKey {
    const char* name;
    Qt::Key key;
};

class KeyboardScene : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Another export file and another member's file sort first, so the
        // arrow keys have to pass them.
        writeExport(QStringLiteral("andet.txt"),
                    exportFile("Andet", "Medlem 99", {"DK-X05-9999F"}));
        writeExport(QStringLiteral("EKSPORT.TXT"), kExport);
        writeUnikon(QStringLiteral("z00001"), " 0500DK-9999W99999999999\r\n");
        unikon = writeUnikon(QStringLiteral("z12345"), kOldUnikon);
    }

    QString unikon;
};

class KeyboardWorkflow : public KeyboardScene, public ::testing::WithParamInterface<DanFilKey> {};

TEST_P(KeyboardWorkflow, FromAFreshWindowToTheRewrittenFileAndItsBackup) {
    WindowDriver& w = start();
    ASSERT_TRUE(w.bringToFront());
    ASSERT_FALSE(w.focusedControl().isEmpty()) << "the keys have somewhere to start";
    // F1 opens the user guide, built beside the programs, and changes nothing.
    const QString startedIn = w.focusedControl();
    w.press(Qt::Key_F1);
    ASSERT_EQ(w.seam.browsed.size(), 1);
    EXPECT_TRUE(w.seam.browsed[0].toLocalFile().endsWith(QLatin1Char('/') + kUserGuideFile) &&
                QFileInfo(w.seam.browsed[0].toLocalFile()).isFile())
        << w.seam.browsed[0].toString();
    EXPECT_EQ(w.focusedControl(), startedIn);
    EXPECT_TRUE(w.seam.messages.isEmpty());

    // Open the export folder in Dir3 with the arrows and Enter.
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("Dir3")));
    ASSERT_TRUE(w.arrowTo(QStringLiteral("eksport")));
    w.press(Qt::Key_Return);
    ASSERT_EQ(w.dir(QStringLiteral("Dir3"))->path(), exportFolder);
    EXPECT_EQ(w.focusedControl(), QStringLiteral("Dir3"));

    // Tab into File2 makes its first entry current without loading it; the
    // arrow that moves on to EKSPORT.TXT loads that one.
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("File2")));
    EXPECT_TRUE(w.entries(QStringLiteral("List1")).isEmpty());
    ASSERT_TRUE(w.arrowTo(QStringLiteral("EKSPORT.TXT")));
    ASSERT_EQ(w.entries(QStringLiteral("List1")),
              QStringList({"DK-X07-1111F\u00e6", "DK-X07-2222x", "DK-X08-3333F", "DK-X09-4444F"}));

    // Year 08 from the drop-down: Alt+Down opens it, the arrows choose, Enter
    // picks.
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("Combo2")));
    w.press(Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView* dropDown = w.yearCodes()->view();
    ASSERT_TRUE(dropDown->isVisible());
    ASSERT_TRUE(dropDown->hasFocus()) << "the arrows would pick straight away in the closed box";
    ASSERT_TRUE(w.arrowTo(QStringLiteral("08")));
    w.press(Qt::Key_Return);
    EXPECT_FALSE(dropDown->isVisible());
    EXPECT_EQ(w.yearCodes()->currentText(), QStringLiteral("08"));
    EXPECT_EQ(w.pigeonList()->selection(), std::vector<bool>({true, true, false, true}));

    // Back to List1 and Space on the fourth pigeon.
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("List1"), Qt::Key_Backtab));
    ASSERT_TRUE(w.arrowTo(QStringLiteral("DK-X09-4444F")));
    w.press(Qt::Key_Space);
    EXPECT_EQ(w.pigeonList()->selection(), std::vector<bool>({true, true, false, false}));

    // The UNIKON folder in Dir1, then Enter on the member's file in File1.
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("Dir1"), Qt::Key_Backtab));
    ASSERT_TRUE(w.arrowTo(QStringLiteral("unikon")));
    w.press(Qt::Key_Return);
    ASSERT_EQ(w.dir(QStringLiteral("Dir1"))->path(), unikonFolder);
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("File1"), Qt::Key_Backtab));
    ASSERT_TRUE(w.arrowTo(QStringLiteral("z12345")));
    EXPECT_TRUE(w.entries(QStringLiteral("List3")).isEmpty()) << "an arrow only makes it current";
    w.press(Qt::Key_Return);
    EXPECT_EQ(w.entries(QStringLiteral("List2")).size(), 3);
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 2);
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), kDanFilPrompt);

    // "Dan fil".
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("Command1")));
    w.press(GetParam().key);

    EXPECT_TRUE(w.seam.failures.isEmpty());
    EXPECT_EQ(w.seam.messages, QStringList({kWritten}));
    EXPECT_EQ(w.seam.endStatus, 0);
    EXPECT_EQ(fileBytes(unikon), kNewUnikon);
    EXPECT_EQ(backups(), QStringList({"z12345_07-12-26"}));
    EXPECT_EQ(fileBytes(scratch.filePath(copyPath("z12345_07-12-26"))), kOldUnikon);
}

// "Dan fil" on an emptied list disables the button that has the focus; the
// keys must still reach the window to build the list again.
TEST_F(KeyboardScene, DanFilOnAnEmptyListLeavesTheFocusWhereTheKeysCanGoOn) {
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("EKSPORT.TXT"));
    w.merge(unikonFolder, QStringLiteral("z12345"));
    ASSERT_TRUE(w.bringToFront());
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("Combo2")));
    w.press(Qt::Key_Down); // a year pick empties the new list
    ASSERT_TRUE(w.entries(QStringLiteral("List3")).isEmpty());

    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("Command1")));
    w.press(Qt::Key_Space);
    EXPECT_FALSE(w.danFil()->isEnabled());
    EXPECT_EQ(backups(), QStringList({"z12345_07-12-26"}));
    EXPECT_EQ(fileBytes(unikon), kOldUnikon);
    ASSERT_FALSE(w.focusedControl().isEmpty());
    EXPECT_NE(w.focusedControl(), QStringLiteral("Command1"));

    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("File1")));
    ASSERT_TRUE(w.arrowTo(QStringLiteral("z12345")));
    w.press(Qt::Key_Return);
    EXPECT_TRUE(w.danFil()->isEnabled());
    EXPECT_FALSE(w.entries(QStringLiteral("List3")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(DanFil, KeyboardWorkflow,
                         ::testing::Values(DanFilKey{"Space", Qt::Key_Space},
                                           DanFilKey{"Return", Qt::Key_Return},
                                           DanFilKey{"KeypadEnter", Qt::Key_Enter}),
                         rowName);

} // namespace
} // namespace dalvero::testing
