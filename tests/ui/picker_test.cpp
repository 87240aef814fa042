// The two picker chains: drive list, folder list, file list.
#include "drive_list.h"
#include "file_list.h"
#include "folder_list.h"
#include "window_fixture.h"

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
    const QString here = QDir::currentPath();
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
        expected.prepend(walk.absolutePath());
        if (!walk.cdUp())
            break;
    }
    expected << exportFolder + QStringLiteral("/A") << exportFolder + QStringLiteral("/b");
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

// Needs a second file system to change to: the scratch folder is made on
// /dev/shm when that is a mount of its own.
TEST(PickerDrives, ChoosingADriveRefreshesItsFolderAndFileListOnly) {
    if (QStorageInfo(QStringLiteral("/dev/shm")).rootPath() != QStringLiteral("/dev/shm"))
        GTEST_SKIP() << "no second file system";
    QTemporaryDir shm(QStringLiteral("/dev/shm/dalvero-XXXXXX"));
    ASSERT_TRUE(shm.isValid());
    QFile(shm.filePath(QStringLiteral("lokal.txt"))).open(QIODevice::WriteOnly);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(shm.path());
    {
        WindowDriver w(shm.path());
        auto* drive3 = w.find<DriveList>(QStringLiteral("Drive3"));
        ASSERT_EQ(drive3->drive(), QStringLiteral("/dev/shm"));
        ASSERT_TRUE(drive3->setDrive(QStringLiteral("/")));
        EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), QStringLiteral("/"));
        EXPECT_EQ(w.files(QStringLiteral("File2"))->path(), QStringLiteral("/"));
        EXPECT_EQ(w.files(QStringLiteral("File2"))->listIndex(), -1);
        EXPECT_EQ(w.dir(QStringLiteral("Dir1"))->path(), shm.path());

        ASSERT_TRUE(drive3->setDrive(QStringLiteral("/dev/shm")));
        // Back on the drive of the current folder: the current folder again.
        EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), shm.path());
        EXPECT_EQ(w.entries(QStringLiteral("File2")), QStringList({"lokal.txt"}));
        EXPECT_TRUE(w.seam.failures.isEmpty());
    }
    QDir::setCurrent(previous);
}

} // namespace
} // namespace dalvero::testing
