// The two picker chains: drive list, folder list, file list.
#include "drive_list.h"
#include "file_list.h"
#include "folder_list.h"
#include "window_test.h"

#include <QLocale>
#include <QStorageInfo>
#include <QTest>

namespace dalvero::testing {
namespace {

// Sorting follows the user's language; these tests speak Danish.
struct DanishLocale {
    DanishLocale() { QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark)); }
    ~DanishLocale() { QLocale::setDefault(QLocale::system()); }
};

class Pickers : public WindowTest {
protected:
    QStringList names(const QString& fileListName) const { return driver->entries(fileListName); }
};

TEST_F(Pickers, AllFourListsStartAtTheCurrentFolder) {
    scratch.writeFile(QStringLiteral("start.txt"), "");
    scratch.writeFile(QStringLiteral("z1"), "");
    WindowDriver& w = start();
    const QString here = QDir::toNativeSeparators(QDir::currentPath());
    EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), here);
    EXPECT_EQ(w.dir(QStringLiteral("Dir1"))->path(), here);
    EXPECT_EQ(names(QStringLiteral("File2")), QStringList({"start.txt"}));
    EXPECT_EQ(names(QStringLiteral("File1")), QStringList({"z1"}));
    EXPECT_EQ(w.files(QStringLiteral("File2"))->listIndex(), -1);
    EXPECT_EQ(w.find<DriveList>(QStringLiteral("Drive3"))->drive(), DriveList::driveOf(here));
}

TEST_F(Pickers, FileListsShowMatchingPlainVisibleFilesInTheUsersOrder) {
    for (const char* name : {"z10", "Z2.TXT", "z1", "a.txt", ".z-hidden", "ztxt.TXT"})
        writeUnikon(QString::fromUtf8(name), "");
    const DanishLocale danish;
    scratch.makeFolder(QStringLiteral("unikon/zfolder"));
    scratch.makeFolder(QStringLiteral("unikon/.zhidden"));
    writeExport(QStringLiteral("e.txt"), "h\r\nh\r\n");
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("e.txt")); // opens the UNIKON pickers
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    EXPECT_EQ(names(QStringLiteral("File1")), QStringList({"z1", "Z2.TXT", "z10", "ztxt.TXT"}));
}

TEST_F(Pickers, DanishNamesSortAfterZ) {
    const DanishLocale danish;
    for (const char* name : {"Åse.txt", "Øre.txt", "Æble.txt", "Zoo.txt", "abe.txt"})
        writeExport(QString::fromUtf8(name), "");
    WindowDriver& w = start();
    w.openFolder(QStringLiteral("Dir3"), exportFolder);
    EXPECT_EQ(names(QStringLiteral("File2")),
              QStringList({"abe.txt", "Zoo.txt", "Æble.txt", "Øre.txt", "Åse.txt"}));
}

TEST_F(Pickers, FolderListShowsThePathDownAndTheVisibleSubfolders) {
    scratch.makeFolder(QStringLiteral("eksport/b"));
    scratch.makeFolder(QStringLiteral("eksport/A"));
    scratch.makeFolder(QStringLiteral("eksport/.skjult"));
    writeExport(QStringLiteral("fil.txt"), "");
    WindowDriver& w = start();
    w.openFolder(QStringLiteral("Dir3"), exportFolder);
    FolderList* dir3 = w.dir(QStringLiteral("Dir3"));
    QStringList shown;
    for (QTreeWidgetItemIterator it(dir3); *it; ++it)
        shown << (*it)->data(0, Qt::UserRole).toString();
    QStringList expected;
    for (QDir walk(exportFolder);;) {
        expected.prepend(QDir::toNativeSeparators(walk.absolutePath()));
        if (!walk.cdUp())
            break;
    }
    expected << scratch.filePath(QStringLiteral("eksport/A"))
             << scratch.filePath(QStringLiteral("eksport/b"));
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(dir3->currentItem()->data(0, Qt::UserRole).toString(), exportFolder);
}

TEST_F(Pickers, OpeningAFolderInOneChainLeavesTheOtherAlone) {
    writeUnikon(QStringLiteral("z5"), "");
    scratch.writeFile(QStringLiteral("here.txt"), "");
    WindowDriver& w = start();
    w.click(w.files(QStringLiteral("File2")), QStringLiteral("here.txt"));
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    EXPECT_EQ(names(QStringLiteral("File1")), QStringList({"z5"}));
    EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), scratch.path());
    EXPECT_EQ(names(QStringLiteral("File2")), QStringList({"here.txt"}));
    EXPECT_EQ(w.files(QStringLiteral("File2"))->listIndex(), 0);
}

TEST_F(Pickers, EnterInAFolderListOpensTheCurrentFolder) {
    writeExport(QStringLiteral("e.txt"), "");
    WindowDriver& w = start();
    FolderList* dir3 = w.dir(QStringLiteral("Dir3"));
    for (QTreeWidgetItemIterator it(dir3); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == exportFolder)
            dir3->setCurrentItem(*it);
    }
    QTest::keyClick(dir3, Qt::Key_Return);
    EXPECT_EQ(dir3->path(), exportFolder);
    EXPECT_EQ(names(QStringLiteral("File2")), QStringList({"e.txt"}));
}

TEST_F(Pickers, FolderGoneSinceListedReportsAndEnds) {
    const QString gone = scratch.makeFolder(QStringLiteral("snart-væk"));
    WindowDriver& w = start();
    QDir(gone).removeRecursively();
    EXPECT_THROW(w.openFolder(QStringLiteral("Dir1"), gone), std::runtime_error); // uni_fil shut
    FolderList* dir3 = w.dir(QStringLiteral("Dir3"));
    for (QTreeWidgetItemIterator it(dir3); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == gone)
            dir3->setCurrentItem(*it);
    }
    QTest::keyClick(dir3, Qt::Key_Return);
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_TRUE(w.seam.failures[0].message().contains(QStringLiteral("snart-væk")));
    EXPECT_EQ(w.seam.endStatus, 1);
}

// A drive that is not ready is reported, and the user keeps the work of this
// run: the list goes back to the drive it showed and the program goes on.
TEST_F(Pickers, DriveNotReadyIsReportedAndTheListGoesBack) {
    writeExport(QStringLiteral("e.txt"), exportFile("h1", "h2", {record("07", "1111")}));
    WindowDriver& w = start();
    auto* drive3 = w.find<DriveList>(QStringLiteral("Drive3"));
    const QString shown = drive3->drive();
    // An empty card reader: a drive whose root cannot be listed.
    const QString reader = scratch.filePath(QStringLiteral("kortlæser")) + QDir::separator();
    drive3->addItem(QStringLiteral("k:"), reader);
    drive3->setCurrentIndex(drive3->count() - 1);

    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_EQ(w.seam.failures[0].what, QStringLiteral("Drevet er ikke klar"));
    EXPECT_EQ(w.seam.failures[0].path, reader);
    EXPECT_FALSE(w.seam.failures[0].reason.isEmpty());
    EXPECT_FALSE(w.seam.endStatus.has_value());
    EXPECT_EQ(drive3->drive(), shown);
    EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), scratch.path());
    w.loadExport(exportFolder, QStringLiteral("e.txt"));
    EXPECT_EQ(w.list1()->count(), 1);
}

// A second drive to change to, and a folder on the first for the current
// folder: Linux's /dev/shm when it is a mount of its own, beside the root;
// under Wine, the temporary folder on C: beside Z:, the Linux root.
struct TwoDrives {
    QString firstBase;
    QString second;
};
TwoDrives twoDrives() {
#ifdef Q_OS_WIN
    return {QDir::tempPath(), QStringLiteral("Z:\\")};
#else
    return {QStringLiteral("/dev/shm"), QStringLiteral("/")};
#endif
}

TEST(PickerDrives, ChoosingADriveRefreshesItsFolderAndFileListOnly) {
    const TwoDrives drives = twoDrives();
    const QString first = DriveList::driveOf(drives.firstBase);
    if (first == drives.second)
        GTEST_SKIP() << "no second file system";
    QTemporaryDir scratch(drives.firstBase + QStringLiteral("/dalvero-XXXXXX"));
    ASSERT_TRUE(scratch.isValid());
    QFile(scratch.filePath(QStringLiteral("lokal.txt"))).open(QIODevice::WriteOnly);
    const QString here = QDir::toNativeSeparators(scratch.path());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(here);
    {
        WindowDriver w(here);
        auto* drive3 = w.find<DriveList>(QStringLiteral("Drive3"));
        ASSERT_EQ(drive3->drive(), first);
        ASSERT_TRUE(drive3->setDrive(drives.second));
        EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), drives.second);
        EXPECT_EQ(w.files(QStringLiteral("File2"))->path(), drives.second);
        EXPECT_EQ(w.files(QStringLiteral("File2"))->listIndex(), -1);
        EXPECT_EQ(w.dir(QStringLiteral("Dir1"))->path(), here);

        ASSERT_TRUE(drive3->setDrive(first));
        // Back on the drive of the current folder: the current folder again.
        EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), here);
        EXPECT_EQ(w.entries(QStringLiteral("File2")), QStringList({"lokal.txt"}));
        EXPECT_TRUE(w.seam.failures.isEmpty());
    }
    QDir::setCurrent(previous);
}

} // namespace
} // namespace dalvero::testing
