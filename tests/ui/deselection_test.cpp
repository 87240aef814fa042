// Deselecting pigeons: by hand, by year code, and the list reset.
#include "support/window_test.h"
#include "ui/line_list.h"
#include "ui/pigeon_list.h"
#include "ui/year_combo.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace dalvero::testing {
namespace {

class Deselection : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        writeExport(QStringLiteral("a.txt"),
                    exportFile("h1", "h2",
                               {record("07", "1111"), record("08", "2222"), record("07", "3333"),
                                record("09", "4444")}));
        writeUnikon(QStringLiteral("z1"), matchKey("07", "1111") + "W12345678901\r\n");
        WindowDriver& w = start();
        w.loadExport(exportFolder, QStringLiteral("a.txt"));
        w.merge(unikonFolder, QStringLiteral("z1"));
        ASSERT_EQ(w.entries(QStringLiteral("List3")).size(), 4);
    }
    std::vector<bool> selection() { return driver->pigeonList()->selection(); }
    void expectCountsAndPromptKept() {
        EXPECT_EQ(driver->caption(QStringLiteral("Label1(5)")), QStringLiteral("1"));
        EXPECT_EQ(driver->caption(QStringLiteral("Label1(1)")), QStringLiteral("4"));
        EXPECT_EQ(driver->caption(QStringLiteral("Label5")), kDanFilPrompt);
        EXPECT_EQ(driver->caption(QStringLiteral("Label4")), QStringLiteral("h1 h2"));
        EXPECT_TRUE(driver->ownEnabled(QStringLiteral("Command1")));
    }
};

TEST_F(Deselection, AClickTogglesOnePigeonAndSpaceTheCurrentOne) {
    WindowDriver& w = *driver;
    w.clickRow(w.pigeonList(), 2);
    EXPECT_EQ(selection(), std::vector<bool>({true, true, false, true}));
    w.clickRow(w.pigeonList(), 2);
    EXPECT_EQ(selection(), std::vector<bool>(4, true));
    w.pigeonList()->setListIndex(3);
    QTest::keyClick(w.pigeonList(), Qt::Key_Space);
    EXPECT_EQ(selection(), std::vector<bool>({true, true, true, false}));
    // Moving the current entry with the keys changes no flag.
    QTest::keyClick(w.pigeonList(), Qt::Key_Up);
    EXPECT_EQ(w.pigeonList()->listIndex(), 2);
    EXPECT_EQ(selection(), std::vector<bool>({true, true, true, false}));
    // Hand changes run nothing: the new list stays.
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 4);
}

TEST_F(Deselection, YearPickDeselectsThatYearOnlyAndUndoesHandChanges) {
    WindowDriver& w = *driver;
    w.clickRow(w.pigeonList(), 1);
    w.pickYear(QStringLiteral("07"));
    EXPECT_EQ(selection(), std::vector<bool>({false, true, false, true}));
    EXPECT_EQ(w.yearCodes()->currentText(), QStringLiteral("07"));
    EXPECT_TRUE(w.entries(QStringLiteral("List2")).isEmpty());
    EXPECT_TRUE(w.entries(QStringLiteral("List3")).isEmpty());
    expectCountsAndPromptKept();

    w.clickRow(w.pigeonList(), 3);
    w.pickYear(QStringLiteral("08"));
    EXPECT_EQ(selection(), std::vector<bool>({true, false, true, true}));
    w.clickRow(w.pigeonList(), 0);
    w.pickYear(QStringLiteral("08"));
    EXPECT_EQ(selection(), std::vector<bool>({true, false, true, true}));
}

TEST_F(Deselection, ArrowKeysInTheYearListPickToo) {
    WindowDriver& w = *driver;
    QTest::keyClick(w.yearCodes(), Qt::Key_Down);
    EXPECT_EQ(w.yearCodes()->currentText(), QStringLiteral("07"));
    EXPECT_EQ(selection(), std::vector<bool>({false, true, false, true}));
    QTest::keyClick(w.yearCodes(), Qt::Key_Down);
    EXPECT_EQ(selection(), std::vector<bool>({true, false, true, true}));
}

TEST_F(Deselection, TypingInTheYearListRunsNothing) {
    WindowDriver& w = *driver;
    QLineEdit* edit = w.yearCodes()->lineEdit();
    QTest::keyClicks(edit, QStringLiteral("09"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(selection(), std::vector<bool>(4, true));
    EXPECT_EQ(w.yearCodes()->count(), 3);
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 4);
}

TEST_F(Deselection, TickingRunsNothingAndUntickingEmptiesTheLists) {
    WindowDriver& w = *driver;
    w.toggleYearBox();
    ASSERT_TRUE(w.yearBox()->isChecked());
    EXPECT_EQ(w.entries(QStringLiteral("List1")).size(), 4);
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 4);

    w.toggleYearBox();
    EXPECT_FALSE(w.yearBox()->isChecked());
    for (const char* name : {"List1", "List2", "List3"})
        EXPECT_TRUE(w.entries(QString::fromLatin1(name)).isEmpty()) << name;
    EXPECT_EQ(w.yearCodes()->count(), 0);
    EXPECT_TRUE(w.yearCodes()->currentText().isEmpty());
    for (const char* name : {"Combo2", "Frame2", "uni_fil"})
        EXPECT_TRUE(w.usable(QString::fromLatin1(name))) << name;
    expectCountsAndPromptKept();
}

TEST_F(Deselection, TheMergeTakesTheSelectionOfItsMoment) {
    WindowDriver& w = *driver;
    w.pickYear(QStringLiteral("07"));
    w.clickRow(w.pigeonList(), 3);
    w.doubleClick(w.files(QStringLiteral("File1")), QStringLiteral("z1"));
    EXPECT_EQ(w.entries(QStringLiteral("List3")),
              QStringList({matchKey("08", "2222") + "W00000000000"}));
    EXPECT_EQ(w.caption(QStringLiteral("Label1(1)")), QStringLiteral("1"));
    // Changing the selection afterwards leaves the new list as it is.
    w.clickRow(w.pigeonList(), 3);
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 1);
}

TEST_F(Deselection, PigeonsListedTwiceFollowTheSameRule) {
    WindowDriver& w = *driver;
    w.click(w.files(QStringLiteral("File2")), QStringLiteral("a.txt"));
    w.pickYear(QStringLiteral("09"));
    EXPECT_EQ(selection(), std::vector<bool>({true, true, true, false, true, true, true, false}));
}

} // namespace
} // namespace dalvero::testing
