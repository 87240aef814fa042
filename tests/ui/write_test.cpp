// "Dan fil": the backup, the rewrite, the end, and the file it may write.
#include "support/window_test.h"
#include "ui/file_list.h"
#include "ui/line_list.h"

#include "platform/scripted_answers.h"
#include "support/named_row.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace dalvero::testing {
namespace {

const QByteArray kOldUnikon = matchKey("07", "1111") + " abcdefghijk\r\n";

class DanFil : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        writeExport(QStringLiteral("a.txt"),
                    exportFile("h1", "h2", {record("07", "1111"), record("08", "2222")}));
        unikonPath = writeUnikon(QStringLiteral("z12345.txt"), kOldUnikon);
        writeUnikon(QStringLiteral("z99999"), kOldUnikon);
        WindowDriver& w = start();
        w.loadExport(exportFolder, QStringLiteral("a.txt"));
        w.merge(unikonFolder, QStringLiteral("z12345.txt"));
    }
    QByteArray unikonBytes() const { return fileBytes(unikonPath); }
    QString backupFile() const { return scratch.filePath(copyPath("z12345.txt_07-12-26")); }

    QString unikonPath;
    const QByteArray newUnikon =
        matchKey("07", "1111") + "Wabcdefghijk\r\n" + matchKey("08", "2222") + "W00000000000\r\n";
};

TEST_F(DanFil, BacksUpRewritesLocksTheWindowAndEnds) {
    WindowDriver& w = *driver;
    bool danFilEnabledDuringMessage = false;
    QStringList list2DuringMessage;
    w.seam.whileMessageShown = [&](const QString&) {
        danFilEnabledDuringMessage = w.ownEnabled(QStringLiteral("Command1"));
        list2DuringMessage = w.entries(QStringLiteral("List2"));
    };
    w.clickDanFil();

    EXPECT_EQ(unikonBytes(), newUnikon);
    EXPECT_EQ(fileBytes(backupFile()), kOldUnikon);
    EXPECT_EQ(w.seam.messages, QStringList({kWritten}));
    EXPECT_EQ(w.seam.endStatus, 0);
    EXPECT_TRUE(danFilEnabledDuringMessage);
    EXPECT_EQ(list2DuringMessage.size(), 1); // no reset: the box was unticked
    EXPECT_FALSE(w.ownEnabled(QStringLiteral("Frame2")));
    EXPECT_FALSE(w.ownEnabled(QStringLiteral("uni_fil")));
    EXPECT_TRUE(w.entries(QStringLiteral("List1")).isEmpty());
    EXPECT_EQ(w.yearCodes()->count(), 0);
    EXPECT_TRUE(w.seam.failures.isEmpty());
}

TEST_F(DanFil, WithTheBoxTickedTheListsAreResetBeforeTheMessage) {
    WindowDriver& w = *driver;
    w.toggleYearBox();
    QStringList list2DuringMessage{"not shown"}, list3DuringMessage{"not shown"};
    w.seam.whileMessageShown = [&](const QString&) {
        list2DuringMessage = w.entries(QStringLiteral("List2"));
        list3DuringMessage = w.entries(QStringLiteral("List3"));
    };
    w.clickDanFil();
    EXPECT_EQ(unikonBytes(), newUnikon); // written before the reset
    EXPECT_TRUE(list2DuringMessage.isEmpty());
    EXPECT_TRUE(list3DuringMessage.isEmpty());
    EXPECT_FALSE(w.yearBox()->isChecked());
    EXPECT_EQ(w.seam.endStatus, 0);
}

TEST_F(DanFil, EmptyNewListMakesOnlyTheBackupAndDisablesTheButton) {
    WindowDriver& w = *driver;
    w.pickYear(QStringLiteral("07")); // empties the new list
    w.clickDanFil();
    EXPECT_EQ(unikonBytes(), kOldUnikon);
    EXPECT_EQ(fileBytes(backupFile()), kOldUnikon);
    EXPECT_FALSE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_TRUE(w.seam.messages.isEmpty());
    EXPECT_FALSE(w.seam.endStatus);
    EXPECT_TRUE(w.usable(QStringLiteral("uni_fil")));
    EXPECT_TRUE(w.usable(QStringLiteral("Frame2")));
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), kDanFilPrompt);

    w.doubleClick(w.files(QStringLiteral("File1")), QStringLiteral("z12345.txt"));
    EXPECT_TRUE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 1);
}

TEST_F(DanFil, ClosingTheWindowWritesNothing) {
    WindowDriver& w = *driver;
    EXPECT_TRUE(w.window().close());
    EXPECT_EQ(unikonBytes(), kOldUnikon);
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_FALSE(w.seam.endStatus);
}

TEST_F(DanFil, SingleClickOnAnotherFileAfterTheMergeWritesNothing) {
    WindowDriver& w = *driver;
    w.click(w.files(QStringLiteral("File1")), QStringLiteral("z99999"));
    w.clickDanFil();
    EXPECT_EQ(w.seam.messages, QStringList({kDoubleClickAgain}));
    EXPECT_EQ(fileBytes(scratch.filePath(QStringLiteral("unikon/z99999"))), kOldUnikon);
    EXPECT_EQ(unikonBytes(), kOldUnikon);
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_FALSE(w.seam.endStatus);
    EXPECT_TRUE(w.ownEnabled(QStringLiteral("Command1")));
    EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 2);

    // Back on the file the list was built from, "Dan fil" writes it.
    w.click(w.files(QStringLiteral("File1")), QStringLiteral("z12345.txt"));
    w.clickDanFil();
    EXPECT_EQ(unikonBytes(), newUnikon);
}

TEST_F(DanFil, ChangedFolderLeavesNoFileToWrite) {
    WindowDriver& w = *driver;
    w.openFolder(QStringLiteral("Dir1"), scratch.path());
    w.clickDanFil();
    EXPECT_EQ(w.seam.messages, QStringList({kDoubleClickAgain}));
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_EQ(unikonBytes(), kOldUnikon);

    // The same folder opened again lists the file with no current entry.
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    w.clickDanFil();
    EXPECT_EQ(w.seam.messages.size(), 2);
    EXPECT_TRUE(backups().isEmpty());
}

TEST_F(DanFil, MissingBackupFolderReportsAndLeavesTheFileAlone) {
    WindowDriver& w = *driver;
    ASSERT_TRUE(QDir(scratch.filePath(kCopiesFolder)).removeRecursively());
    w.clickDanFil();
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_TRUE(w.seam.failures[0].message().contains(kCopiesFolder))
        << w.seam.failures[0].message();
    EXPECT_FALSE(w.seam.endStatus);
    EXPECT_EQ(unikonBytes(), kOldUnikon);
    EXPECT_TRUE(w.seam.messages.isEmpty());
}

TEST_F(DanFil, DateTextWithSlashesStillGivesABackupInTheBackupFolder) {
    WindowDriver& w = *driver;
    w.seam.today = QStringLiteral("12/7/26");
    w.clickDanFil();
    EXPECT_TRUE(w.seam.failures.isEmpty());
    EXPECT_EQ(backups(), QStringList({"z12345.txt_12-7-26"}));
    EXPECT_EQ(unikonBytes(), newUnikon);
}

TEST_F(DanFil, SecondRunOnTheSameDayKeepsTheFirstBackup) {
    WindowDriver& w = *driver;
    w.pickYear(QStringLiteral("07"));
    w.clickDanFil(); // empty list: backup only
    w.doubleClick(w.files(QStringLiteral("File1")), QStringLiteral("z12345.txt"));
    w.clickDanFil();
    // The file is as the first run found it: that run's copy is its backup.
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(fileBytes(backupFile()), kOldUnikon);
}

// What comes in while "Dan fil" waits for a file another program holds: no
// second run of the handler by any route, and a quit kept for afterwards.
struct DuringTheWait {
    const char* name;
    std::function<void(WindowDriver&)> act;
    bool quits = false;
};

class DanFilWaiting : public DanFil, public ::testing::WithParamInterface<DuringTheWait> {
protected:
    void TearDown() override {
        platform::scriptedAnswers() = {};
        DanFil::TearDown();
    }
};

TEST_P(DanFilWaiting, TakesNoActionAndWritesOnce) {
    WindowDriver& w = *driver;
    const QString prompt = w.caption(QStringLiteral("Label5"));
    int looks = 0;
    bool openWhileWriting = true;
    platform::scriptedAnswers().held = [&](const QString&) {
        if (looks == 0)
            QTimer::singleShot(0, [&] { GetParam().act(w); });
        openWhileWriting = openWhileWriting && w.window().isVisible();
        return ++looks <= 2;
    };
    w.clickDanFil();
    QApplication::processEvents();
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(unikonBytes(), newUnikon);
    EXPECT_EQ(w.seam.messages, QStringList({kWritten}));
    EXPECT_TRUE(w.seam.failures.isEmpty()) << w.seam.failures.value(0).message();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(w.caption(QStringLiteral("Label5")), prompt);
    EXPECT_EQ(w.window().isVisible(), !GetParam().quits) << "the quit was dropped";
    EXPECT_TRUE(openWhileWriting) << "the quit came before the rewrite ended";
}

INSTANTIATE_TEST_SUITE_P(
    Wait, DanFilWaiting,
    ::testing::Values(DuringTheWait{"ScreenReaderPress",
                                    [](WindowDriver& w) {
                                        QAccessibleInterface* button =
                                            QAccessible::queryAccessibleInterface(w.danFil());
                                        button->actionInterface()->doAction(
                                            QAccessibleActionInterface::pressAction());
                                    }},
                      DuringTheWait{"MouseClick", [](WindowDriver& w) { w.clickDanFil(); }},
                      DuringTheWait{
                          "SpaceOnTheButton",
                          [](WindowDriver& w) { QTest::keyClick(w.danFil(), Qt::Key_Space); }},
                      DuringTheWait{"SessionEnds",
                                    [](WindowDriver&) {
                                        QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
                                    },
                                    true}),
    rowName);

} // namespace
} // namespace dalvero::testing
