// Loading an export file through the export file list.
#include "support/named_row.h"
#include "support/window_test.h"
#include "ui/file_list.h"
#include "ui/line_list.h"
#include "ui/pigeon_list.h"
#include "ui/year_combo.h"

#include <QTest>

namespace dalvero::testing {
namespace {

class ExportLoading : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        writeExport(QStringLiteral("a.txt"),
                    exportFile("Klub 0123", "Medlem 12345",
                               {record("07", "1111"), record("08", "2222"), record("07", "3333"),
                                record("09", "4444")}));
        writeExport(QStringLiteral("b.txt"), exportFile("Anden", "Fil", {record("10", "5555")}));
    }
    FileList* file2() { return driver->files(QStringLiteral("File2")); }
    std::vector<bool> selection() { return driver->pigeonList()->selection(); }
};

TEST_F(ExportLoading, SingleClickLoadsTheFileAndOpensTheNextStage) {
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("a.txt"));

    EXPECT_EQ(w.caption(QStringLiteral("Label4")), QStringLiteral("Klub 0123 Medlem 12345"));
    EXPECT_EQ(w.entries(QStringLiteral("List1")),
              QStringList({"DK-X07-1111F", "DK-X08-2222F", "DK-X07-3333F", "DK-X09-4444F"}));
    EXPECT_EQ(selection(), std::vector<bool>(4, true));
    EXPECT_EQ(w.pigeonList()->listIndex(), 0);
    EXPECT_EQ(w.yearCodes()->codes(), Lines({"07", "08", "09"}));
    EXPECT_TRUE(w.yearCodes()->currentText().isEmpty());
    for (const char* name : {"Frame2", "uni_fil", "Combo2", "List1", "Check1", "File1"})
        EXPECT_TRUE(w.usable(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), kDeselectPrompt);
    EXPECT_TRUE(w.seam.failures.isEmpty());
}

TEST_F(ExportLoading, DoubleClickLoadsOnce) {
    WindowDriver& w = start();
    w.openFolder(QStringLiteral("Dir3"), exportFolder);
    w.doubleClick(file2(), QStringLiteral("b.txt"));
    EXPECT_EQ(w.entries(QStringLiteral("List1")), QStringList({"DK-X10-5555F"}));
}

TEST_F(ExportLoading, ArrowKeyMoveLoadsTheFileItReaches) {
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("a.txt"));
    QTest::keyClick(file2(), Qt::Key_Down);
    EXPECT_EQ(w.entries(QStringLiteral("List1")).size(), 5);
    EXPECT_EQ(w.entries(QStringLiteral("List1")).last(), QStringLiteral("DK-X10-5555F"));
    EXPECT_EQ(w.caption(QStringLiteral("Label4")), QStringLiteral("Anden Fil"));
    EXPECT_EQ(w.yearCodes()->codes(), Lines({"07", "08", "09", "10"}));
}

TEST_F(ExportLoading, EnterLoadsACurrentEntryNoClickHasLoadedYet) {
    WindowDriver& w = start();
    w.openFolder(QStringLiteral("Dir3"), exportFolder);
    file2()->setCurrentRow(1); // as focus alone makes an entry current
    QTest::keyClick(file2(), Qt::Key_Return);
    EXPECT_EQ(w.entries(QStringLiteral("List1")), QStringList({"DK-X10-5555F"}));
    // The arrow keys load at once; Enter then adds nothing.
    QTest::keyClick(file2(), Qt::Key_Up);
    QTest::keyClick(file2(), Qt::Key_Return);
    EXPECT_EQ(w.entries(QStringLiteral("List1")).size(), 5);
}

TEST_F(ExportLoading, SameFileClickedTwiceListsItsPigeonsTwiceAllSelected) {
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("a.txt"));
    w.clickRow(w.pigeonList(), 1); // deselected by hand
    ASSERT_FALSE(w.pigeonList()->isSelected(1));
    w.click(file2(), QStringLiteral("a.txt"));
    EXPECT_EQ(w.entries(QStringLiteral("List1")).size(), 8);
    EXPECT_EQ(selection(), std::vector<bool>(8, true));
    EXPECT_EQ(w.yearCodes()->codes(), Lines({"07", "08", "09"}));
}

TEST_F(ExportLoading, LoadingAgainAfterAMergeKeepsDanFilEnabledAndSetsThePromptBack) {
    writeUnikon(QStringLiteral("z1"), matchKey("07", "1111") + "W12345678901\r\n");
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("a.txt"));
    w.merge(unikonFolder, QStringLiteral("z1"));
    ASSERT_TRUE(w.ownEnabled(QStringLiteral("Command1")));
    w.click(file2(), QStringLiteral("b.txt"));
    EXPECT_TRUE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), kDeselectPrompt);
}

struct ShortFileCase {
    const char* name;
    QByteArray contents;
    QByteArray header; // the export header after loading, over "f\xf8r x"
    QStringList pigeons;
    Lines codes;
    QByteArray earlier = {}; // pigeon lines of the first file, deselected by hand
};

class ShortExportFile : public WindowTest, public ::testing::WithParamInterface<ShortFileCase> {};

TEST_P(ShortExportFile, GivesItsHeaderAndPigeons) {
    const ShortFileCase& c = GetParam();
    writeExport(QStringLiteral("first.txt"), "f\xf8r\r\nx\r\n" + c.earlier);
    writeExport(QStringLiteral("second.txt"), c.contents);
    WindowDriver& w = start();
    w.openFolder(QStringLiteral("Dir3"), exportFolder);
    w.click(w.files(QStringLiteral("File2")), QStringLiteral("first.txt"));
    ASSERT_EQ(w.caption(QStringLiteral("Label4")), QStringLiteral("før x"));
    for (int row = 0; row < w.pigeonList()->count(); ++row)
        w.clickRow(w.pigeonList(), row);
    ASSERT_EQ(w.pigeonList()->selection(), std::vector<bool>(w.pigeonList()->count(), false));
    w.click(w.files(QStringLiteral("File2")), QStringLiteral("second.txt"));

    EXPECT_EQ(w.caption(QStringLiteral("Label4")), QString::fromLatin1(c.header));
    EXPECT_EQ(w.entries(QStringLiteral("List1")), c.pigeons);
    EXPECT_EQ(w.yearCodes()->codes(), c.codes);
    EXPECT_EQ(w.pigeonList()->selection(), std::vector<bool>(c.pigeons.size(), true));
    for (const char* name : {"File1", "Frame2", "uni_fil"})
        EXPECT_TRUE(w.usable(QString::fromLatin1(name))) << name;
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), kDeselectPrompt);
    EXPECT_TRUE(w.seam.failures.isEmpty());
    EXPECT_FALSE(w.seam.endStatus);
}

INSTANTIATE_TEST_SUITE_P(
    Window, ShortExportFile,
    ::testing::Values(
        ShortFileCase{"Empty", "", "f\xf8r x", {}, {}},
        ShortFileCase{"EmptyAfterPigeons",
                      "",
                      "f\xf8r x",
                      {"DK-X07-1111F", "DK-X08-2222F"},
                      {"07", "08"},
                      "xDK-X07-1111F\r\nxDK-X08-2222F\r\n"},
        ShortFileCase{"OneLine", "alene", "alene", {}, {}},
        ShortFileCase{"TwoLines", "en\r\nto\r\n", "en to", {}, {}},
        ShortFileCase{
            "LineFeedsOnly", "en\nto\nxDK-X07-1111F\n", "en\nto\nxDK-X07-1111F\n", {}, {}},
        ShortFileCase{"ShortRecords",
                      "h\r\nh\r\nx\r\nxABCD\r\nxABCDE\r\nxABCDEf\r\n",
                      "h h",
                      {"", "ABCD", "ABCDE", "ABCDEf"},
                      {"", "E", "Ef"}},
        ShortFileCase{"CaseAndBlankMakeOtherCodes",
                      "h\r\nh\r\nxabcd7x\r\nxabcd7X\r\nxabcd 7\r\n",
                      "h h",
                      {"abcd7x", "abcd7X", "abcd 7"},
                      {"7x", "7X", " 7"}}),
    rowName);

TEST_F(ExportLoading, EveryByteOfARecordIsShownAsItsOwnCharacter) {
    QByteArray odd = "DK-X07-1111F\xd8\xe6\xe5\x80\xff";
    writeExport(QStringLiteral("c.txt"), exportFile("\xc6rt", "2", {odd}));
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("c.txt"));
    EXPECT_EQ(w.pigeonList()->entry(0), odd);
    // The files come from Windows programs in the Danish code page: 0x80 is €.
    EXPECT_EQ(w.entries(QStringLiteral("List1")).value(0),
              QString::fromLatin1(odd.chopped(2)) + QChar(0x20AC) + QChar(0xFF));
    EXPECT_EQ(w.caption(QStringLiteral("Label4")), QString::fromLatin1("\xc6rt 2"));
}

TEST_F(ExportLoading, FileGoneSinceListedIsReportedWithNothingChanged) {
    const QString path = writeExport(QStringLiteral("c.txt"), exportFile("h", "h", {}));
    WindowDriver& w = start();
    w.openFolder(QStringLiteral("Dir3"), exportFolder);
    QFile::remove(path);
    w.click(file2(), QStringLiteral("c.txt"));

    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_TRUE(w.seam.failures[0].message().contains(path)) << w.seam.failures[0].message();
    EXPECT_FALSE(w.seam.endStatus);
    EXPECT_TRUE(w.caption(QStringLiteral("Label4")).isEmpty());
    EXPECT_FALSE(w.ownEnabled(QStringLiteral("uni_fil")));
    // The program goes on: another file loads.
    w.click(file2(), QStringLiteral("a.txt"));
    EXPECT_FALSE(w.entries(QStringLiteral("List1")).isEmpty());
}

} // namespace
} // namespace dalvero::testing
