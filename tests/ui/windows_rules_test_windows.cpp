// What only Windows has: drive letters, folders at the root of a drive (the
// folder's text ends in "\", so every path joined to it holds two separators
// in a row, and it is passed on as it is), file attributes and the user's own
// short date setting.
#include "app/startup.h"
#include "conversion/text_file.h"
#include "platform/platform_files.h"
#include "platform/process.h"
#include "platform/scripted_answers.h"
#include "program.h"
#include "support/named_row.h"
#include "support/window_test.h"
#include "ui/drive_list.h"
#include "ui/window_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <aclapi.h>
#include <windows.h>

namespace dalvero::testing {
namespace {

// The root of the drive that holds the temporary folder, with names of this
// run's own, removed again afterwards.
struct DriveRootScene {
    QString root = QDir::toNativeSeparators(QDir(QDir::tempPath()).rootPath());
    QString tag = QString::number(QCoreApplication::applicationPid());
    QString exportName = QStringLiteral("dalvero-%1.txt").arg(tag);
    QString unikonName = QStringLiteral("z%1").arg(tag);
    QString backupFolder = root + kCopiesFolder;
    bool madeBackupFolder = !QFileInfo::exists(backupFolder);
    QString previous = QDir::currentPath();

    ~DriveRootScene() {
        QFile::remove(root + exportName);
        QFile::remove(root + unikonName);
        QFile::remove(backupFolder + QStringLiteral("\\") + unikonName +
                      QStringLiteral("_07-12-26"));
        if (madeBackupFolder)
            QDir(backupFolder).removeRecursively();
        QDir::setCurrent(previous);
    }
    void write(const QString& name, const QByteArray& contents) const {
        QFile file(root + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
};

TEST(DriveRoot, EveryFolderAtTheRootOfADrive) {
    DriveRootScene s;
    s.write(s.exportName, exportFile("h1", "h2", {record("07", "1111")}));
    s.write(s.unikonName, matchKey("07", "1111") + " abcdefghijk\r\n");
    ASSERT_TRUE(QDir::setCurrent(s.root));
    const QString base =
        startup::chooseBaseFolder(QString(), QDir::toNativeSeparators(QDir::currentPath()));
    ASSERT_EQ(base, s.root);
    ASSERT_FALSE(startup::ensureBackupFolder(base));
    EXPECT_TRUE(QFileInfo(s.backupFolder).isDir());

    WindowDriver w(base);
    w.loadExport(s.root, s.exportName);
    w.merge(s.root, s.unikonName);
    ASSERT_EQ(w.entries(QStringLiteral("List3")),
              QStringList({matchKey("07", "1111") + "Wabcdefghijk"}));
    // The doubled separator is passed on unchanged, as a report shows.
    QFile::remove(s.root + s.unikonName);
    w.clickDanFil();
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_EQ(w.seam.failures[0].path, s.root + QStringLiteral("\\") + s.unikonName);
}

TEST(DriveRoot, BackupAndRewriteAtTheRootOfADrive) {
    DriveRootScene s;
    s.write(s.exportName, exportFile("h1", "h2", {record("07", "1111")}));
    const QByteArray old = matchKey("07", "1111") + " abcdefghijk\r\n";
    s.write(s.unikonName, old);
    ASSERT_TRUE(QDir::setCurrent(s.root));
    ASSERT_FALSE(startup::ensureBackupFolder(s.root));

    WindowDriver w(s.root);
    w.loadExport(s.root, s.exportName);
    w.merge(s.root, s.unikonName);
    w.clickDanFil();
    EXPECT_TRUE(w.seam.failures.isEmpty()) << w.seam.failures.value(0).message().toStdString();
    EXPECT_EQ(w.seam.endStatus, 0);
    EXPECT_EQ(fileBytes(s.root + s.unikonName), matchKey("07", "1111") + "Wabcdefghijk\r\n");
    EXPECT_EQ(fileBytes(s.backupFolder + QStringLiteral("\\") + s.unikonName +
                        QStringLiteral("_07-12-26")),
              old);
}

TEST(WindowsRules, DriveListsShowLetterAndLabelAsWindowsDoes) {
    ScratchFolder scratch;
    WindowDriver w(scratch.path());
    auto* drive3 = w.find<DriveList>(QStringLiteral("Drive3"));
    ASSERT_GT(drive3->count(), 0);
    const QRegularExpression shown(QStringLiteral("^[a-z]:( \\[.+\\])?$"));
    for (int i = 0; i < drive3->count(); ++i)
        EXPECT_TRUE(shown.match(drive3->itemText(i)).hasMatch())
            << drive3->itemText(i).toStdString();
    EXPECT_EQ(drive3->drive(), QDir::toNativeSeparators(QDir::currentPath()).left(3));
}

class WindowsFileList : public WindowTest {};

TEST_F(WindowsFileList, HiddenAndSystemFilesAreNotListed) {
    for (const char* name : {"z1", "z2-skjult", "z3-system"})
        writeUnikon(QString::fromUtf8(name), "");
    const std::wstring hidden =
        QDir::toNativeSeparators(unikonFolder + "/z2-skjult").toStdWString();
    const std::wstring system =
        QDir::toNativeSeparators(unikonFolder + "/z3-system").toStdWString();
    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    writeExport(QStringLiteral("e.txt"), "h\r\nh\r\n");
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("e.txt"));
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    EXPECT_EQ(w.entries(QStringLiteral("File1")), QStringList({"z1"}));
}

// The date in the backup name is the user's own short date, as Windows writes
// it for them ("7.12.2026" under Wine's Danish setting), never a format of ours.
TEST(WindowsRules, TodayIsTheUsersOwnShortDate) {
    wchar_t text[128] = {};
    ASSERT_GT(::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text,
                                128, nullptr),
              0);
    dalvero::WindowServices seam;
    EXPECT_EQ(seam.todayText(), QString::fromWCharArray(text));
}

// Any account's installer, an elevated one too, may wait on the mark.
TEST(WindowsRules, RunningMarkMayBeAwaitedByEveryone) {
    platform::markRunning();
    const HANDLE mark = ::OpenMutexW(READ_CONTROL, FALSE, DALVERO_RUNNING_MUTEX_W);
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetSecurityInfo(mark, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                &acl, nullptr, &descriptor),
              0u);
    ASSERT_TRUE(acl) << "no access list: every account may do anything";
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    ACCESS_MASK granted = 0;
    ACCESS_ALLOWED_ACE* ace = nullptr;
    for (DWORD i = 0; i < acl->AceCount && ::GetAce(acl, i, reinterpret_cast<void**>(&ace)); ++i)
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && ::EqualSid(&ace->SidStart, everyone))
            granted |= ace->Mask;
    EXPECT_TRUE(granted & SYNCHRONIZE) << std::hex << granted;
}

// The program's own calls to the system take every path in the form that
// has no length limit.
struct PathCase {
    const char* name;
    QString path;
    std::function<QString()> expected;
};

class SystemPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(SystemPath, HasNoLengthLimit) {
    EXPECT_EQ(platform::systemPath(GetParam().path), GetParam().expected());
}

QString fixed(const char* text) {
    return QString::fromUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, SystemPath,
    ::testing::Values(
        PathCase{"DrivePath", fixed("C:\\data\\z1"), [] { return fixed("\\\\?\\C:\\data\\z1"); }},
        PathCase{"ForwardSlashes", fixed("C:/data/z1"),
                 [] { return fixed("\\\\?\\C:\\data\\z1"); }},
        PathCase{"DotSegments", fixed("C:\\data\\..\\z1"), [] { return fixed("\\\\?\\C:\\z1"); }},
        PathCase{"Share", fixed("\\\\nas\\klub\\z1"),
                 [] { return fixed("\\\\?\\UNC\\nas\\klub\\z1"); }},
        PathCase{"AlreadyPrefixed", fixed("\\\\?\\C:\\data\\z1"),
                 [] { return fixed("\\\\?\\C:\\data\\z1"); }},
        PathCase{"Relative", fixed("z1"),
                 [] {
                     return QStringLiteral("\\\\?\\") +
                            QDir::toNativeSeparators(
                                QDir::current().filePath(QStringLiteral("z1")));
                 }}),
    rowName);

// Answers only a real Windows PC gives, scripted through the platform layer:
// what "Dan fil" makes of them.
struct ScriptedCase {
    const char* name;
    unsigned long openForWriting;
    const char* reason;                    // part of it; none: the new list is written
    unsigned long replace = ERROR_SUCCESS; // the replace's answer, `replaceTries` times
    int replaceTries = 0;
    unsigned long move = ERROR_SUCCESS; // the answer of each move into the name
    const char* step = nullptr;         // a step of the rewrite that answers
    unsigned long stepAnswer = 0;       // this the first `stepTries` times
    int stepTries = 99;
    bool retaken = false; // a file of the name made while the new list waits for it
    // The UNIKON folder stands in for Program Files (x86); VirtualStore may
    // hold an old program's copy of z1, which the user then picks.
    enum class OldPrograms { Elsewhere, Redirected, CopyInVirtualStore } oldPrograms = {};
};

class ScriptedWindows : public WindowTest, public ::testing::WithParamInterface<ScriptedCase> {
protected:
    void TearDown() override {
        platform::scriptedAnswers() = {};
        WindowTest::TearDown();
    }
};

TEST_P(ScriptedWindows, DanFilTakesTheAnswer) {
    const ScriptedCase& c = GetParam();
    writeExport(QStringLiteral("e.txt"), exportFile("h1", "h2", {record("07", "1111")}));
    const QByteArray old = matchKey("07", "1111") + " abcdefghijk\r\n";
    const QString unikon = writeUnikon(QStringLiteral("z1"), old);
    using Old = ScriptedCase::OldPrograms;
    if (c.oldPrograms != Old::Elsewhere) {
        platform::scriptedAnswers().virtualStore = [&] {
            return platform::VirtualStoreLayout{{unikonFolder}, scratch.filePath("VirtualStore")};
        };
    }
    const QString copy = platform::virtualStorePath(unikon);
    const bool inStore = c.oldPrograms == Old::CopyInVirtualStore;
    if (inStore) {
        scratch.writeFile(QDir(scratch.path()).relativeFilePath(copy),
                          matchKey("07", "1111") + " zyxwvutsrqp\r\n");
    }
    const QString written = inStore ? copy : unikon;
    const QByteArray before = fileBytes(written);
    WindowDriver& w = start();
    w.seam.choice = 0;
    w.loadExport(exportFolder, QStringLiteral("e.txt"));
    w.merge(unikonFolder, QStringLiteral("z1"));
    // Both files named before anything is read or written.
    ASSERT_EQ(w.seam.questions.size(), inStore ? 1 : 0);
    if (inStore) {
        EXPECT_TRUE(w.seam.questions[0].contains(copy) &&
                    w.seam.questions[0].contains(QDir::toNativeSeparators(unikon)))
            << w.seam.questions[0];
    }
    platform::scriptedAnswers().openForWriting = [&](const QString&) { return c.openForWriting; };
    int replaces = 0;
    platform::scriptedAnswers().replace = [&](const QString&) {
        return replaces++ < c.replaceTries ? c.replace : ERROR_SUCCESS;
    };
    int replacements = 0;
    int answered = 0;
    platform::scriptedAnswers().step = [&](const char* step, const QString& path) {
        const QByteArray name(step);
        replacements += name == "new file: create" && !path.contains(kCopiesFolder);
        if (c.retaken && name == "replace: move" && !QFileInfo::exists(unikon))
            writeUnikon(QStringLiteral("z1"), "taken");
        if (c.step && name == c.step && answered++ < c.stepTries)
            return c.stepAnswer;
        return name == "replace: move" ? c.move : ERROR_SUCCESS;
    };
    w.clickDanFil();
    // Written once, whatever is tried again.
    EXPECT_LE(replacements, 1);
    // A refusal before the replace leaves no backup, and no leftover is listed.
    EXPECT_EQ(backups().size(), c.reason && c.replaceTries == 0 ? 0 : 1);
    if (c.move || c.retaken) { // the new list kept whole under the name the report gives
        ASSERT_EQ(w.seam.failures.size(), 1);
        // and the old file, moved aside, named too
        for (const QString& aside : QDir(unikonFolder).entryList({"~RF*"}, QDir::Files)) {
            EXPECT_EQ(fileBytes(QDir(unikonFolder).filePath(aside)), old);
            EXPECT_TRUE(w.seam.failures[0].reason.contains(aside)) << w.seam.failures[0].reason;
        }
        const QStringList kept =
            QDir(unikonFolder).entryList({".~dalvero-z1-*"}, QDir::Files | QDir::Hidden);
        ASSERT_EQ(kept.size(), 1);
        EXPECT_TRUE(w.seam.failures[0].reason.contains(
            QDir::toNativeSeparators(QDir(unikonFolder).filePath(kept[0]))))
            << w.seam.failures[0].reason;
        EXPECT_EQ(fileBytes(QDir(unikonFolder).filePath(kept[0])),
                  matchKey("07", "1111") + "Wabcdefghijk\r\n");
        EXPECT_EQ(QFileInfo::exists(unikon), c.retaken);
        return;
    }
    EXPECT_EQ(folderEntries(unikonFolder), QStringList{"z1"});
    EXPECT_EQ(fileBytes(unikon),
              inStore || c.reason ? old : matchKey("07", "1111") + "Wabcdefghijk\r\n");
    if (c.reason) {
        ASSERT_EQ(w.seam.failures.size(), 1);
        EXPECT_TRUE(w.seam.failures[0].reason.contains(QString::fromUtf8(c.reason)))
            << w.seam.failures[0].reason;
    } else {
        EXPECT_TRUE(w.seam.failures.isEmpty()) << w.seam.failures.value(0).message();
    }
    if (inStore) { // the copy backed up and written, the real file untouched
        EXPECT_EQ(fileBytes(scratch.filePath(copyPath("z1_07-12-26"))), before);
        EXPECT_EQ(fileBytes(copy), matchKey("07", "1111") + "Wzyxwvutsrqp\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window, ScriptedWindows,
    ::testing::Values(
        ScriptedCase{"ShareDeniesWriting_StandsInForAnAccessListOnAShare", ERROR_ACCESS_DENIED,
                     "Adgang nægtet."},
        ScriptedCase{"HeldByAnotherProgram_StandsInForASharingViolation", ERROR_SHARING_VIOLATION,
                     "Filen bruges af et andet program. Luk det (fx regnearket eller scanneren), "
                     "og prøv igen."},
        ScriptedCase{"AnyOtherAnswerRefusedBeforeTheCopy_StandsInForABusyNetwork",
                     ERROR_NETWORK_BUSY, "(fejlkode 54)"},
        ScriptedCase{"NewFileHeldBriefly_StandsInForAScannerAtTheReplace", ERROR_SUCCESS, nullptr,
                     ERROR_SHARING_VIOLATION, 2},
        ScriptedCase{"NewFileHeldOnce_StandsInForAScannerAtTheReplace", ERROR_SUCCESS, nullptr,
                     ERROR_SHARING_VIOLATION, 1},
        ScriptedCase{"HeldThroughoutWrittenInPlace_StandsInForAScannerAtTheReplace", ERROR_SUCCESS,
                     nullptr, ERROR_SHARING_VIOLATION, 99},
        ScriptedCase{"OldNotDeletedWrittenInPlace_StandsInForASyncClient", ERROR_SUCCESS, nullptr,
                     ERROR_UNABLE_TO_REMOVE_REPLACED, 99},
        ScriptedCase{"InPlaceLockedToo_StandsInForAByteRangeLock", ERROR_SUCCESS,
                     "bruges af et andet program", ERROR_UNABLE_TO_REMOVE_REPLACED, 99,
                     ERROR_SUCCESS, "in place: lock", ERROR_LOCK_VIOLATION},
        ScriptedCase{"InPlaceMappedToo_StandsInForAMappedView", ERROR_SUCCESS,
                     "bruges af et andet program", ERROR_UNABLE_TO_REMOVE_REPLACED, 99,
                     ERROR_SUCCESS, "in place: size", ERROR_USER_MAPPED_FILE},
        ScriptedCase{"CopyHeldOnceAtItsName_StandsInForAScanner", ERROR_SUCCESS, nullptr,
                     ERROR_SUCCESS, 0, ERROR_SUCCESS, "copy: name", ERROR_SHARING_VIOLATION, 1},
        ScriptedCase{"CreateNotFound_StandsInForControlledFolderAccess", ERROR_SUCCESS,
                     "Beskyttelse mod ransomware.", ERROR_SUCCESS, 0, ERROR_SUCCESS,
                     "new file: create", ERROR_FILE_NOT_FOUND},
        ScriptedCase{"CreateDenied_StandsInForControlledFolderAccess", ERROR_SUCCESS,
                     "Beskyttelse mod ransomware.", ERROR_SUCCESS, 0, ERROR_SUCCESS,
                     "new file: create", ERROR_ACCESS_DENIED},
        ScriptedCase{"ReplaceRefused_KeepsTheSystemsCode", ERROR_SUCCESS, "(fejlkode 54)",
                     ERROR_NETWORK_BUSY, 1},
        ScriptedCase{"WriteProtected_StandsInForALockedCard", ERROR_WRITE_PROTECT,
                     "Filen er skrivebeskyttet."},
        ScriptedCase{"ReplaceDeniedWrittenInPlace_StandsInForRightsWithoutDelete", ERROR_SUCCESS,
                     nullptr, ERROR_ACCESS_DENIED, 99},
        ScriptedCase{"OldGoneNewNotYetMoved_StandsInForUnableToMoveReplacement", ERROR_SUCCESS,
                     nullptr, ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1},
        ScriptedCase{"OldGoneNewNeverMoved_StandsInForUnableToMoveReplacement", ERROR_SUCCESS,
                     "den nye liste ligger i", ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1,
                     ERROR_SHARING_VIOLATION},
        ScriptedCase{"NameRetakenNewListKept_StandsInForUnableToMoveReplacement", ERROR_SUCCESS,
                     "den nye liste ligger i", ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1, ERROR_SUCCESS,
                     nullptr, 0, 0, true},
        ScriptedCase{"OldAsideNewMovedLater_StandsInForUnableToMoveReplacement2", ERROR_SUCCESS,
                     nullptr, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1},
        ScriptedCase{"OldAsideNewNeverMoved_StandsInForUnableToMoveReplacement2", ERROR_SUCCESS,
                     "Windows har flyttet den gamle fil til", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1,
                     ERROR_SHARING_VIOLATION},
        ScriptedCase{"VirtualStoreCopyPicked_StandsInForAnOldProgramInProgramFiles", ERROR_SUCCESS,
                     nullptr, ERROR_SUCCESS, 0, ERROR_SUCCESS, nullptr, 0, 99, false,
                     ScriptedCase::OldPrograms::CopyInVirtualStore},
        ScriptedCase{"DeniedWithNoCopy_StandsInForAStandardUserInProgramFiles", ERROR_ACCESS_DENIED,
                     "i VirtualStore i stedet", ERROR_SUCCESS, 0, ERROR_SUCCESS, nullptr, 0, 99,
                     false, ScriptedCase::OldPrograms::Redirected}),
    rowName);

TEST(WindowsRules, StartedInItsOwnFolderSaysWhereToStart_StandsInForAStandardUserInProgramFiles) {
    ScratchFolder scratch;
    platform::scriptedAnswers().makeFolder = [](const QString&) { return ERROR_ACCESS_DENIED; };
    const Status inProgramFolder = startup::ensureBackupFolder(scratch.path(), scratch.path());
    const Status elsewhere =
        startup::ensureBackupFolder(scratch.path(), scratch.filePath(QStringLiteral("andet")));
    scratch.writeFile(QStringLiteral(DALVERO_PORTABLE_MARKER), "");
    const Status unpacked = startup::ensureBackupFolder(scratch.path(), scratch.path());
    platform::scriptedAnswers() = {};
    ASSERT_TRUE(inProgramFolder && elsewhere && unpacked);
    EXPECT_TRUE(inProgramFolder->reason.contains(QStringLiteral("menuen Start")));
    EXPECT_FALSE(elsewhere->reason.contains(QStringLiteral("menuen Start")));
    EXPECT_TRUE(unpacked->reason.contains(QStringLiteral("Pak zip-filen ud")));
    EXPECT_FALSE(unpacked->reason.contains(QStringLiteral("installeret")));
}

// An empty CD drive, R: (setup.sh makes it in Wine's prefix): listed as
// Windows lists it, without being asked anything, and reported when picked.
TEST(WindowsRules, EmptyDriveIsListedUnaskedAndReportedWhenPicked) {
    QStringList asked;
    platform::scriptedAnswers().driveAsked = [&](const QString& root) { asked << root; };
    ScratchFolder scratch;
    WindowDriver w(scratch.path());
    const QStringList askedAtStart = asked;
    auto* drive3 = w.find<DriveList>(QStringLiteral("Drive3"));
    const QString shown = drive3->drive();
    const bool listed = drive3->setDrive(QStringLiteral("R:\\"));
    platform::scriptedAnswers() = {};
    ASSERT_TRUE(listed) << "no empty drive R: in this Wine prefix";
    for (const QString& root : askedAtStart)
        EXPECT_EQ(::GetDriveTypeW(root.toStdWString().c_str()), DRIVE_FIXED) << root;
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_EQ(w.seam.failures[0].what, drives::kDriveNotReady);
    EXPECT_EQ(drive3->drive(), shown);
    EXPECT_FALSE(w.seam.endStatus.has_value());
}

// Past 260 characters the same rules hold: a hidden file is not listed, a
// read-only file is not rewritten, the backup folder is made.
TEST_F(WindowsFileList, DeepFoldersKeepTheRules) {
    QString deep = QStringLiteral("unikon");
    while (scratch.filePath(deep).size() < 300)
        deep += QStringLiteral("/en-mappe-med-et-langt-navn");
    const QString folder = scratch.makeFolder(deep);
    const QByteArray old = matchKey("07", "1111") + " abcdefghijk\r\n";
    scratch.writeFile(deep + QStringLiteral("/z1"), old);
    scratch.writeFile(deep + QStringLiteral("/z2-skjult"), "");
    const auto native = [&](const char* name) {
        return platform::systemPath(folder + QLatin1Char('/') + QLatin1String(name)).toStdWString();
    };
    ASSERT_TRUE(::SetFileAttributesW(native("z1").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW(native("z2-skjult").c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(startup::ensureBackupFolder(folder));
    EXPECT_TRUE(QFileInfo(folder + '/' + kCopiesFolder).isDir());

    writeExport(QStringLiteral("e.txt"), exportFile("h1", "h2", {record("07", "1111")}));
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("e.txt"));
    w.merge(folder, QStringLiteral("z1"));
    EXPECT_EQ(w.entries(QStringLiteral("File1")), QStringList({"z1"}));
    w.clickDanFil();
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_EQ(w.seam.failures[0].reason, QStringLiteral("Filen er skrivebeskyttet."));
    ::SetFileAttributesW(native("z1").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/z1")), old);
}

} // namespace
} // namespace dalvero::testing
