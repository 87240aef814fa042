// The two picker chains: drive list, folder list, file list.
#include "platform/scripted_answers.h"
#include "support/named_row.h"
#include "support/window_test.h"
#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

#include <QApplication>
#include <QLocale>
#include <QStorageInfo>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace dalvero::testing {
namespace {

// Sorting follows the user's language; these tests speak Danish.
struct DanishLocale {
    DanishLocale() { QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark)); }
    ~DanishLocale() { QLocale::setDefault(QLocale::system()); }
};

class Pickers : public WindowTest {};

TEST_F(Pickers, AllFourListsStartAtTheCurrentFolder) {
    scratch.writeFile(QStringLiteral("start.txt"), "");
    scratch.writeFile(QStringLiteral("z1"), "");
    WindowDriver& w = start();
    const QString here = QDir::toNativeSeparators(QDir::currentPath());
    EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), here);
    EXPECT_EQ(w.dir(QStringLiteral("Dir1"))->path(), here);
    EXPECT_EQ(w.entries(QStringLiteral("File2")), QStringList({"start.txt"}));
    EXPECT_EQ(w.entries(QStringLiteral("File1")), QStringList({"z1"}));
    EXPECT_EQ(w.files(QStringLiteral("File2"))->listIndex(), -1);
    EXPECT_EQ(w.find<DriveList>(QStringLiteral("Drive3"))->drive(), DriveList::driveOf(here));
}

TEST_F(Pickers, FileListsShowMatchingPlainVisibleFilesInTheUsersOrder) {
    // The last one a rewrite that broke off left behind.
    for (const char* name :
         {"z10", "Z2.TXT", "z1", "a.txt", ".z-hidden", "ztxt.TXT", ".~dalvero-z1-x7.tmp"})
        writeUnikon(QString::fromUtf8(name), "");
    const DanishLocale danish;
    scratch.makeFolder(QStringLiteral("unikon/zfolder"));
    scratch.makeFolder(QStringLiteral("unikon/.zhidden"));
    writeExport(QStringLiteral("e.txt"), "h\r\nh\r\n");
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("e.txt")); // opens the UNIKON pickers
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    EXPECT_EQ(w.entries(QStringLiteral("File1")), QStringList({"z1", "Z2.TXT", "z10", "ztxt.TXT"}));
}

TEST_F(Pickers, DanishNamesSortAfterZ) {
    const DanishLocale danish;
    for (const char* name : {"Åse.txt", "Øre.txt", "Æble.txt", "Zoo.txt", "abe.txt"})
        writeExport(QString::fromUtf8(name), "");
    WindowDriver& w = start();
    w.openFolder(QStringLiteral("Dir3"), exportFolder);
    EXPECT_EQ(w.entries(QStringLiteral("File2")),
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
    for (int row = 0; row < dir3->count(); ++row)
        shown << dir3->item(row)->data(Qt::UserRole).toString();
    QStringList expected;
    for (QDir walk(exportFolder);;) {
        expected.prepend(QDir::toNativeSeparators(walk.absolutePath()));
        if (!walk.cdUp())
            break;
    }
    expected << scratch.filePath(QStringLiteral("eksport/A"))
             << scratch.filePath(QStringLiteral("eksport/b"));
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(dir3->currentItem()->data(Qt::UserRole).toString(), exportFolder);
}

TEST_F(Pickers, OpeningAFolderInOneChainLeavesTheOtherAlone) {
    writeUnikon(QStringLiteral("z5"), "");
    scratch.writeFile(QStringLiteral("here.txt"), "");
    WindowDriver& w = start();
    w.click(w.files(QStringLiteral("File2")), QStringLiteral("here.txt"));
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    EXPECT_EQ(w.entries(QStringLiteral("File1")), QStringList({"z5"}));
    EXPECT_EQ(w.dir(QStringLiteral("Dir3"))->path(), scratch.path());
    EXPECT_EQ(w.entries(QStringLiteral("File2")), QStringList({"here.txt"}));
    EXPECT_EQ(w.files(QStringLiteral("File2"))->listIndex(), 0);
}

TEST_F(Pickers, EnterInAFolderListOpensTheCurrentFolder) {
    writeExport(QStringLiteral("e.txt"), "");
    WindowDriver& w = start();
    FolderList* dir3 = w.dir(QStringLiteral("Dir3"));
    for (int row = 0; row < dir3->count(); ++row) {
        if (dir3->item(row)->data(Qt::UserRole).toString() == exportFolder)
            dir3->setCurrentRow(row);
    }
    QTest::keyClick(dir3, Qt::Key_Return);
    EXPECT_EQ(dir3->path(), exportFolder);
    EXPECT_EQ(w.entries(QStringLiteral("File2")), QStringList({"e.txt"}));
}

TEST_F(Pickers, FolderGoneSinceListedIsReportedAndTheProgramGoesOn) {
    const QString gone = scratch.makeFolder(QStringLiteral("snart-væk"));
    WindowDriver& w = start();
    QDir(gone).removeRecursively();
    EXPECT_THROW(w.openFolder(QStringLiteral("Dir1"), gone), std::runtime_error); // uni_fil shut
    FolderList* dir3 = w.dir(QStringLiteral("Dir3"));
    for (int row = 0; row < dir3->count(); ++row) {
        if (dir3->item(row)->data(Qt::UserRole).toString() == gone)
            dir3->setCurrentRow(row);
    }
    QTest::keyClick(dir3, Qt::Key_Return);
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_TRUE(w.seam.failures[0].message().contains(QStringLiteral("snart-væk")));
    EXPECT_FALSE(w.seam.endStatus);
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
    EXPECT_EQ(w.pigeonList()->count(), 1);
}

// A stick that comes or goes while the window is open. Pulled out without
// being unmounted, a stick can leave its mount folder behind, empty, on the
// drive above; the list offers it as the stick until it is opened again.
enum class SecondDrive {
    ListedAtStart,
    PluggedInAfterStart,
    PulledOutWhileShown,
    FolderLeftBehind,
    NeverAnswers // a network drive whose server is away
};

struct DriveCase {
    const char* name;
    const char* drive;
    const char* dir;
    const char* files;
    // The other chain, which the change leaves alone.
    const char* otherDrive;
    const char* otherDir;
    const char* otherFiles;
    QStringList listedHere; // what `files` lists in the current folder
    SecondDrive second = SecondDrive::ListedAtStart;
    bool startOnAShare = false; // the current folder on \\server\share
    Runs runs = Runs::Everywhere;
    const char* listedFirst = nullptr;
};

DriveCase onExport(const char* name, SecondDrive second = SecondDrive::ListedAtStart) {
    return {name, "Drive3", "Dir3", "File2", "Drive1", "Dir1", "File1", {"lokal.txt"}, second};
}
DriveCase onUnikon(const char* name, SecondDrive second = SecondDrive::ListedAtStart,
                   bool startOnAShare = false) {
    return {name,   "Drive1", "Dir1",     "File1", "Drive3",
            "Dir3", "File2",  {"zlokal"}, second,  startOnAShare};
}

DriveCase listingFirst(DriveCase c, const char* root) {
    c.listedFirst = root;
    return c;
}

QStringList roots(const DriveList& list) {
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.itemData(i).toString();
    return shown;
}

// What the user sees on opening the list.
void openAndClose(DriveList& list) {
    list.showPopup();
    list.hidePopup();
}

struct NoScriptedDrives {
    ~NoScriptedDrives() { platform::scriptedAnswers() = {}; }
};

class PickerDrives : public ::testing::TestWithParam<DriveCase> {};

TEST_P(PickerDrives, ChoosingADriveRefreshesItsFolderAndFileListOnly) {
    const DriveCase& c = GetParam();
    const TwoDrives drives = twoDrives();
    const QString base = c.startOnAShare ? drives.share : drives.firstBase;
    const QString first = DriveList::driveOf(base);
    if (c.startOnAShare) {
        ASSERT_TRUE(QFileInfo(base).isDir()) << "no share " << base << " in this Wine prefix";
        ASSERT_EQ(first, base + QDir::separator()) << "a share's root is its drive";
    }
    if (first == drives.second)
        GTEST_SKIP() << "no second file system";
    QTemporaryDir scratch(base + QStringLiteral("/dalvero-XXXXXX"));
    ASSERT_TRUE(scratch.isValid());
    const bool leftBehind = c.second == SecondDrive::FolderLeftBehind;
    const QString second = leftBehind
                               ? QDir::toNativeSeparators(scratch.filePath(QStringLiteral("STICK")))
                               : drives.second;
    if (leftBehind) {
        ASSERT_TRUE(QDir().mkdir(second));
    }
    for (const char* name : {"lokal.txt", "zlokal"})
        QFile(scratch.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    const QString here = QDir::toNativeSeparators(scratch.path());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(here);
    const NoScriptedDrives unscripted;
    const bool neverAnswers = c.second == SecondDrive::NeverAnswers;
    bool plugged = c.second == SecondDrive::PulledOutWhileShown || leftBehind || neverAnswers;
    if (c.second != SecondDrive::ListedAtStart) {
        platform::scriptedAnswers().drives = [&] {
            QList<drives::Drive> machine = {{first, first}};
            if (plugged)
                machine.append({second, second});
            return machine;
        };
    }
    if (neverAnswers) {
        platform::scriptedAnswers().driveAsked = [second](const QString& root) {
            if (root == second)
                QThread::sleep(10);
        };
    }
    {
        WindowDriver w(here);
        // A loaded export file opens the UNIKON chain.
        w.click(w.files(QStringLiteral("File2")), QStringLiteral("lokal.txt"));
        auto* drive = w.find<DriveList>(QString::fromLatin1(c.drive));
        FileList* files = w.files(QString::fromLatin1(c.files));
        FileList* otherFiles = w.files(QString::fromLatin1(c.otherFiles));
        const int otherIndex = otherFiles->listIndex();
        ASSERT_EQ(drive->drive(), first);
        if (c.listedFirst) {
            EXPECT_EQ(roots(*drive).value(0), QString::fromLatin1(c.listedFirst));
        }
        if (c.second == SecondDrive::PluggedInAfterStart) {
            ASSERT_EQ(drive->findData(second), -1);
            plugged = true;
            openAndClose(*drive);
            EXPECT_EQ(roots(*drive), QStringList({first, second})) << "the system's order";
        }
        bool busyMeanwhile = false; // the window went on with its events, busy
        QTimer::singleShot(0, &w.window(),
                           [&] { busyMeanwhile = QApplication::overrideCursor() != nullptr; });
        ASSERT_TRUE(drive->setDrive(second));
        if (leftBehind || neverAnswers) {
            // Left behind, a folder on the drive of the current folder now:
            // not the stick.
            ASSERT_EQ(w.seam.failures.size(), 1);
            EXPECT_EQ(w.seam.failures[0].what,
                      neverAnswers ? drives::kDriveNoAnswer : drives::kDriveNotReady);
            EXPECT_TRUE(busyMeanwhile || !neverAnswers);
            EXPECT_EQ(w.seam.failures[0].path, second);
            w.seam.failures.clear();
            EXPECT_EQ(drive->drive(), first);
            EXPECT_EQ(w.dir(QString::fromLatin1(c.dir))->path(), here);
            EXPECT_EQ(files->path(), here);
        } else {
            EXPECT_EQ(w.dir(QString::fromLatin1(c.dir))->path(), second);
            EXPECT_EQ(files->path(), second);
            EXPECT_EQ(files->listIndex(), -1);
        }
        EXPECT_EQ(w.find<DriveList>(QString::fromLatin1(c.otherDrive))->drive(), first);
        EXPECT_EQ(w.dir(QString::fromLatin1(c.otherDir))->path(), here);
        EXPECT_EQ(otherFiles->path(), here);
        EXPECT_EQ(otherFiles->listIndex(), otherIndex);
        if (c.second == SecondDrive::PulledOutWhileShown) {
            plugged = false;
            openAndClose(*drive);
            EXPECT_EQ(drive->drive(), second) << "shown until another is picked";
        }

        ASSERT_TRUE(drive->setDrive(first));
        // Back on the drive of the current folder: the current folder again.
        EXPECT_EQ(w.dir(QString::fromLatin1(c.dir))->path(), here);
        EXPECT_EQ(w.entries(QString::fromLatin1(c.files)), c.listedHere);
        EXPECT_TRUE(w.seam.failures.isEmpty());
        if (c.startOnAShare) {
            EXPECT_EQ(w.dir(QString::fromLatin1(c.dir))->item(0)->text(), base) << "the top";
        }
        if (c.second == SecondDrive::PulledOutWhileShown) {
            openAndClose(*drive);
            EXPECT_EQ(drive->findData(second), -1) << "gone once another is shown";
        }
    }
    QDir::setCurrent(previous);
}

INSTANTIATE_TEST_SUITE_P(
    Chain, PickerDrives,
    ::testing::ValuesIn(onThisPlatform<DriveCase>({
        onExport("Export"),
        onUnikon("Unikon"),
        onExport("StickPluggedInAfterStart", SecondDrive::PluggedInAfterStart),
        onUnikon("StickPulledOutWhileShown", SecondDrive::PulledOutWhileShown),
        // Only Linux mounts a drive on a folder of another.
        linuxOnly(onExport("StickPulledOutItsFolderLeft", SecondDrive::FolderLeftBehind)),
        onUnikon("NetworkDriveNeverAnswers", SecondDrive::NeverAnswers),
        linuxOnly(listingFirst(onExport("RootListedFirst"), "/")),
        windowsOnly(onUnikon("StartFolderOnAShare", SecondDrive::ListedAtStart, true)),
    })),
    rowName);

} // namespace
} // namespace dalvero::testing
