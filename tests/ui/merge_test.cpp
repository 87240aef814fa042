// Building the new UNIKON list with a double-click in the UNIKON file list.
#include "support/window_test.h"
#include "ui/file_list.h"
#include "ui/line_list.h"

#include <QTest>

namespace dalvero::testing {
namespace {

class Merge : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        writeExport(QStringLiteral("a.txt"),
                    exportFile("h1", "h2", {record("07", "1111"), record("08", "2222", 'x')}));
        writeUnikon(QStringLiteral("z1"), matchKey("07", "1111") + " abcdefghijk\r\n" +
                                              matchKey("09", "9999") + "W99999999999\r\n" +
                                              matchKey("07", "1111") + "Wsecond-tail\r\n");
        writeUnikon(QStringLiteral("z2.txt"), "");
        WindowDriver& w = start();
        w.loadExport(exportFolder, QStringLiteral("a.txt"));
        w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    }
    FileList* file1() { return driver->files(QStringLiteral("File1")); }
};

TEST_F(Merge, SingleClickOnlyMakesTheEntryCurrent) {
    WindowDriver& w = *driver;
    w.click(file1(), QStringLiteral("z1"));
    EXPECT_EQ(file1()->listIndex(), 0);
    EXPECT_TRUE(w.entries(QStringLiteral("List2")).isEmpty());
    EXPECT_FALSE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_TRUE(w.caption(QStringLiteral("Label1(5)")).isEmpty());
}

TEST_F(Merge, DoubleClickBuildsBothListsCountsAndOpensDanFil) {
    WindowDriver& w = *driver;
    w.doubleClick(file1(), QStringLiteral("z1"));
    EXPECT_EQ(w.entries(QStringLiteral("List2")).size(), 3);
    EXPECT_EQ(w.entries(QStringLiteral("List3")),
              QStringList({matchKey("07", "1111") + "Wabcdefghijk",
                           matchKey("07", "1111") + "Wsecond-tail",
                           matchKey("08", "2222") + " 00000000000"}));
    EXPECT_EQ(w.caption(QStringLiteral("Label1(5)")), QStringLiteral("3"));
    EXPECT_EQ(w.caption(QStringLiteral("Label1(1)")), QStringLiteral("3"));
    EXPECT_TRUE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), kDanFilPrompt);
}

// The pigeon of 08 is new, the one of 07 stands twice in the old file, and the
// old line of 09 is not carried over.
TEST_F(Merge, MarksShowWhatDanFilChangesAndWriteNothingOfTheirOwn) {
    WindowDriver& w = *driver;
    w.doubleClick(file1(), QStringLiteral("z1"));
    const auto said = [&](const char* list, int row, int role) {
        return w.lineList(QString::fromLatin1(list))->model()->index(row, 0).data(role);
    };
    const QString doubled = QStringLiteral("Står flere gange i den gamle fil");
    const QString added = QStringLiteral("Ny due: ikke i den gamle fil");
    EXPECT_EQ(said("List3", 0, Qt::ToolTipRole).toString(), doubled);
    EXPECT_EQ(said("List3", 1, Qt::ToolTipRole).toString(), doubled);
    EXPECT_EQ(said("List3", 2, Qt::ToolTipRole).toString(), added);
    EXPECT_EQ(said("List3", 2, Qt::AccessibleTextRole).toString(),
              QString::fromLatin1(matchKey("08", "2222") + " 00000000000, ") + added);
    EXPECT_FALSE(said("List2", 0, Qt::ToolTipRole).isValid());
    EXPECT_EQ(said("List2", 1, Qt::ToolTipRole).toString(),
              QStringLiteral("Udgår: kommer ikke med i den nye fil"));
    EXPECT_TRUE(said("List2", 1, Qt::BackgroundRole).isValid());
    EXPECT_EQ(w.control(QStringLiteral("Label1(1)"))->toolTip(),
              QStringLiteral("3 i alt: 2 fra den gamle fil, 1 ny, 1 står to gange"));
    EXPECT_EQ(w.control(QStringLiteral("Label1(5)"))->toolTip(),
              QStringLiteral("3 i alt: 1 udgår"));
    EXPECT_EQ(w.caption(QStringLiteral("Label1(1)")), QStringLiteral("3"));

    w.clickDanFil();
    EXPECT_EQ(fileBytes(scratch.filePath(QStringLiteral("unikon/z1"))),
              matchKey("07", "1111") + "Wabcdefghijk\r\n" + matchKey("07", "1111") +
                  "Wsecond-tail\r\n" + matchKey("08", "2222") + " 00000000000\r\n");
}

TEST_F(Merge, EnterInTheFileListMergesLikeADoubleClick) {
    WindowDriver& w = *driver;
    QTest::keyClick(file1(), Qt::Key_Down);
    ASSERT_EQ(file1()->list(file1()->listIndex()), QStringLiteral("z1"));
    EXPECT_TRUE(w.entries(QStringLiteral("List3")).isEmpty());
    QTest::keyClick(file1(), Qt::Key_Return);
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 3);
}

TEST_F(Merge, ASecondMergeRebuildsInsteadOfAdding) {
    WindowDriver& w = *driver;
    w.doubleClick(file1(), QStringLiteral("z1"));
    w.doubleClick(file1(), QStringLiteral("z2.txt"));
    EXPECT_TRUE(w.entries(QStringLiteral("List2")).isEmpty());
    EXPECT_EQ(w.caption(QStringLiteral("Label1(5)")), QStringLiteral("0"));
    EXPECT_EQ(w.entries(QStringLiteral("List3")),
              QStringList({matchKey("07", "1111") + "W00000000000",
                           matchKey("08", "2222") + " 00000000000"}));
    EXPECT_EQ(w.caption(QStringLiteral("Label1(1)")), QStringLiteral("2"));
}

TEST_F(Merge, NoPigeonSelectedGivesAnEmptyListAndStillOpensDanFil) {
    WindowDriver& w = *driver;
    w.clickRow(w.pigeonList(), 0);
    w.clickRow(w.pigeonList(), 1);
    w.doubleClick(file1(), QStringLiteral("z1"));
    EXPECT_TRUE(w.entries(QStringLiteral("List3")).isEmpty());
    EXPECT_EQ(w.caption(QStringLiteral("Label1(1)")), QStringLiteral("0"));
    EXPECT_TRUE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), kDanFilPrompt);
}

TEST_F(Merge, OldLinesShowByteForByte) {
    const QByteArray odd = matchKey("07", "1111") + "W\xe6\xf8\xe5\x01\x7f\x80\xff" + "abcd";
    writeUnikon(QStringLiteral("z3"), odd + "\r\n");
    WindowDriver& w = *driver;
    w.openFolder(QStringLiteral("Dir1"), scratch.path());
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    w.doubleClick(file1(), QStringLiteral("z3"));
    EXPECT_EQ(w.lineList(QStringLiteral("List2"))->entry(0), odd);
    EXPECT_EQ(w.lineList(QStringLiteral("List3"))->entry(0), odd.left(24));
}

TEST_F(Merge, FileGoneSinceListedIsReportedWithTheListsKept) {
    WindowDriver& w = *driver;
    w.doubleClick(file1(), QStringLiteral("z1"));
    QFile::remove(scratch.filePath(QStringLiteral("unikon/z1")));
    w.doubleClick(file1(), QStringLiteral("z1"));
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_TRUE(w.seam.failures[0].message().contains(QStringLiteral("z1")));
    EXPECT_FALSE(w.seam.endStatus);
    EXPECT_EQ(w.entries(QStringLiteral("List2")).size(), 3);
    EXPECT_FALSE(w.entries(QStringLiteral("List3")).isEmpty());
    EXPECT_EQ(w.caption(QStringLiteral("Label1(5)")), QStringLiteral("3"));
    EXPECT_TRUE(w.ownEnabled(QStringLiteral("Command1")));
}

} // namespace
} // namespace dalvero::testing
