// A platform step made to fail at every point of the user's work, through
// the real window: what is on disk afterwards, and what the user was told.
#include "reliability_scene.h"
#include "support/named_row.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <variant>

namespace dalvero::testing {
namespace {

// Two pigeons: the first is in the old file, the second is new.
const QByteArray kExport = "Klub 0815\r\nMedlem 12345\r\n"
                           "xDK-X07-1111F\r\n"
                           "xDK-X08-2222x\r\n";
const QByteArray kUnikon = " 0700DK-1111 abcdefghijk\r\n"
                           " 0900DK-9999W99999999999\r\n";
const QByteArray kNewUnikon = " 0700DK-1111Wabcdefghijk\r\n"
                              " 0800DK-2222 00000000000\r\n";

enum class Outcome {
    NothingChanged, // nothing on disk differs from before the failing step
    BackupOnly,     // the dated backup is made, the UNIKON file is as it was
    Written,        // the backup is made and the UNIKON file holds the new list
};

using SceneStep = std::function<void(ReliabilityScene&)>;

struct FaultCase {
    const char* name;
    Runs runs = Runs::Everywhere;
    Restriction restriction = Restriction::None;
    // Before the window starts, and at `stage` while the user works.
    SceneStep arrange = [](ReliabilityScene&) {};
    Stage stage = Stage::Merged;
    SceneStep spoil = [](ReliabilityScene&) {};
    // What the user does after the merge and before "Dan fil".
    std::function<QList<UserStep>(const ReliabilityScene&)> afterMerge = {};
    Outcome outcome = Outcome::NothingChanged;
    // The file the error report must name; none when nothing fails.
    std::function<QString(const ReliabilityScene&)> failingFile = {};
    // Part of the reason given: the system's own words, or the program's.
    std::variant<SystemError, const char*> reason = "";
    QString backupSuffix = {}; // "_2" when the dated name was taken
    QString backupDate = QStringLiteral("07-12-26");
    QString message = {}; // the one message box shown, if any
    // The held files are let go this long after "Dan fil" is pressed.
    int releaseAfterMs = 0;
    // Refused by the rewrite's own check or its write, not by the backup.
    bool rewriteRefused = false;
    // Mends the cause after the refusal; "Dan fil" is then clicked again
    // and must write the file.
    SceneStep cure = {};
};

QString datedBackup(const ReliabilityScene& s) {
    return s.absolute(s.backupFile(QStringLiteral("07-12-26")));
}

void removeExport(ReliabilityScene& s) {
    QFile::remove(exportPath(s));
}
void exportToFolder(ReliabilityScene& s) {
    removeExport(s);
    s.scratch.writeFile(s.exportFile() + QStringLiteral("/inde.txt"), kExport);
}
void removeUnikon(ReliabilityScene& s) {
    QFile::remove(unikonPath(s));
}
void unikonToFolder(ReliabilityScene& s) {
    removeUnikon(s);
    s.scratch.writeFile(s.unikonFile() + QStringLiteral("/inde"), kUnikon);
}
SceneStep chmodUnikon(int mode) {
    return [mode](ReliabilityScene& s) { setPermissionBits(unikonPath(s), mode); };
}
SceneStep chmodExport(int mode) {
    return [mode](ReliabilityScene& s) { setPermissionBits(exportPath(s), mode); };
}
SceneStep earlierBackups(QStringList suffixes) {
    return [suffixes](ReliabilityScene& s) {
        for (const QString& suffix : suffixes) {
            s.scratch.writeFile(s.backupFile(QStringLiteral("07-12-26"), suffix),
                                "earlier backup" + suffix.toUtf8());
        }
    };
}
SceneStep dateText(const QString& text) {
    return [text](ReliabilityScene& s) { s.today = text; };
}
void uniKopGone(ReliabilityScene& s) {
    QDir(s.absolute(s.baseName + '/' + kCopiesFolder)).removeRecursively();
}
void uniKopPlainFile(ReliabilityScene& s) {
    uniKopGone(s);
    s.scratch.writeFile(s.baseName + '/' + kCopiesFolder, "not a folder");
}
void unikonBehindLink(ReliabilityScene& s) {
    s.target = s.baseName + QStringLiteral("/data/zmedlem");
    s.scratch.makeFolder(s.baseName + QStringLiteral("/data"));
    QFile::rename(unikonPath(s), s.absolute(s.target));
    makeSymbolicLink(QStringLiteral("../data/zmedlem"), unikonPath(s));
}
void unikonShortcut(ReliabilityScene& s) {
    const QString shortcut = s.unikonFolder + QStringLiteral("/z12345 - Genvej.lnk");
    ASSERT_TRUE(QFile::link(unikonPath(s), s.absolute(shortcut)));
    s.unikonName = QFileInfo(shortcut).fileName();
}
// A new list far larger than the small disk lets through.
void manyPigeons(ReliabilityScene& s) {
    QByteArray bytes = "h1\r\nh2\r\n";
    for (int i = 0; i < 2000; ++i)
        bytes += "xDK-X07-" + QByteArray::number(1000 + i) + "F\r\n";
    s.scratch.writeFile(s.exportFile(), bytes);
}
// An old file whose backup copy the small disk cannot hold.
void bigUnikonFile(ReliabilityScene& s) {
    QByteArray bytes = kUnikon;
    for (int i = 0; i < 2000; ++i)
        bytes += " 0700DK-" + QByteArray::number(3000 + i) + " 00000000000\r\n";
    s.scratch.writeFile(s.unikonFile(), bytes);
}
// Another program has the file open: sharing it with nobody, or letting
// others only read it.
SceneStep heldUnikon(HeldFile::Sharing sharing) {
    return [sharing](ReliabilityScene& s) { s.filesToHold.emplace_back(s.unikonFile(), sharing); };
}
SceneStep heldExport(HeldFile::Sharing sharing) {
    return [sharing](ReliabilityScene& s) { s.filesToHold.emplace_back(s.exportFile(), sharing); };
}
void letGo(ReliabilityScene& s) {
    s.releaseFiles();
}
void unikonChangedElsewhere(ReliabilityScene& s) {
    s.scratch.writeFile(s.unikonFile(), kUnikon + " 1000DK-1000 changed-elsewhere\r\n");
}
void unikonFolderClosed(ReliabilityScene& s) {
    setPermissionBits(s.absolute(s.unikonFolder), 0755);
}

// The step after the pause failed: the window is exactly as it was before
// it, so that the user can mend the cause and take the step again.
// `merged` is the UNIKON file as the merge read it.
void expectTheWindowAsBeforeTheFailingStep(const WindowReport& report, Stage stage,
                                           const QByteArray& merged) {
    const bool wasMerged = stage == Stage::Merged;
    const Lines old = wasMerged ? splitLines(merged) : Lines();
    EXPECT_EQ(report.exportHeader.isEmpty(), stage == Stage::Listed);
    EXPECT_EQ(report.pigeonList.isEmpty(), stage == Stage::Listed);
    EXPECT_EQ(report.oldList, old);
    // Each pigeon once: no old line shares a key.
    EXPECT_EQ(report.newList.size(), wasMerged ? report.pigeonList.size() : 0);
    EXPECT_EQ(report.oldCount, wasMerged ? QString::number(old.size()) : QString());
    EXPECT_EQ(report.newCount, wasMerged ? QString::number(report.newList.size()) : QString());
    EXPECT_EQ(report.danFilEnabled, wasMerged);
    if (wasMerged) {
        EXPECT_EQ(report.prompt, kDanFilPrompt);
    }
}

// What the report says was being done when the step failed.
QString failedStep(Stage stage, bool rewriteRefused) {
    switch (stage) {
    case Stage::Listed:
        return QStringLiteral("Kunne ikke læse eksportfilen");
    case Stage::Loaded:
        return QStringLiteral("Kunne ikke læse UNIKON-filen");
    case Stage::Merged:
        break;
    }
    return rewriteRefused ? QStringLiteral("Kunne ikke skrive UNIKON-filen")
                          : QStringLiteral("Kunne ikke lave sikkerhedskopi af UNIKON-filen");
}

class PlatformFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PlatformFault, LosesNothingAndSaysWhatWhichFileAndWhy) {
    const FaultCase& c = GetParam();
    ReliabilityScene scene;
    ASSERT_TRUE(scene.scratch.isValid());
    scene.exportBytes = kExport;
    scene.unikonBytes = kUnikon;
    scene.build();
    if (c.restriction == Restriction::Unprivileged)
        scene.openToUnprivileged();
    c.arrange(scene);
    Workflow flow = scene.workflow();
    flow.pauseAt = c.stage;
    if (c.afterMerge)
        flow.afterMerge = c.afterMerge(scene);
    flow.clickAgain = bool(c.cure);

    TreeSnapshot before = TreeSnapshot::of(scene.scratch.path());
    std::thread releaser;
    int pauses = 0;
    QByteArray mergedBytes;
    const WorkflowRun run = runWorkflowInChild(flow, c.restriction, 16 * 1024, [&] {
        if (++pauses == 2) { // after the refusal: nothing was written, then the cause goes
            EXPECT_EQ(TreeSnapshot::of(scene.scratch.path()).differencesFrom(before), "");
            c.cure(scene);
            before = TreeSnapshot::of(scene.scratch.path());
            return;
        }
        mergedBytes = fileBytes(unikonPath(scene));
        c.spoil(scene);
        before = TreeSnapshot::of(scene.scratch.path());
        EXPECT_TRUE(scene.holdFiles()) << "another program's hold on a file could not be made";
        if (c.releaseAfterMs > 0) {
            releaser = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.releaseAfterMs));
                scene.releaseFiles();
            });
        }
    });
    if (releaser.joinable())
        releaser.join();
    scene.releaseFiles();
    ASSERT_TRUE(run.setUp) << "the child could not be restricted";
    ASSERT_TRUE(run.finished) << "the child died: " << run.ending;
    ASSERT_TRUE(run.report.driverError.isEmpty()) << run.report.driverError.toStdString();
    ASSERT_EQ(run.report.atRefusal.size(), c.cure ? 1u : 0u);
    const WindowReport& report = c.cure ? run.report.atRefusal[0] : run.report;

    // What the user was told.
    if (c.failingFile) {
        ASSERT_EQ(report.failures.size(), 1);
        const Failure& failure = report.failures[0];
        EXPECT_EQ(failure.what,
                  failedStep(c.stage, c.rewriteRefused || c.outcome == Outcome::BackupOnly));
        EXPECT_EQ(failure.path, c.failingFile(scene));
        const QString reason = std::holds_alternative<SystemError>(c.reason)
                                   ? systemReason(std::get<SystemError>(c.reason))
                                   : QString::fromUtf8(std::get<const char*>(c.reason));
        EXPECT_TRUE(failure.reason.contains(reason)) << failure.reason;
        EXPECT_FALSE(failure.reason.isEmpty());
        EXPECT_EQ(report.endStatus, -1);
        expectTheWindowAsBeforeTheFailingStep(report, c.stage, mergedBytes);
    }
    if (c.cure) {
        EXPECT_EQ(run.report.endStatus, 0);
        EXPECT_EQ(run.report.messages, QStringList{kWritten});
    } else if (!c.failingFile) {
        EXPECT_TRUE(report.failures.isEmpty()) << report.failures.value(0).message();
        EXPECT_EQ(report.endStatus, c.outcome == Outcome::Written ? 0 : -1);
    }
    if (!c.cure) {
        EXPECT_EQ(report.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }

    // What is on disk: exactly what was there before the failing step, plus
    // the backup and the new list where they belong.
    const Outcome outcome = c.cure ? Outcome::Written : c.outcome;
    ASSERT_TRUE(before.find(scene.writtenFile()) || outcome == Outcome::NothingChanged);
    const TreeSnapshot expected =
        outcome == Outcome::NothingChanged
            ? before
            : afterDanFil(before, scene.writtenFile(),
                          scene.backupFile(c.backupDate, c.backupSuffix),
                          outcome == Outcome::Written ? std::optional(kNewUnikon) : std::nullopt);
    const TreeSnapshot after = TreeSnapshot::of(scene.scratch.path());
    EXPECT_EQ(after.differencesFrom(expected), "");
}

INSTANTIATE_TEST_SUITE_P(
    Window, PlatformFault,
    ::testing::ValuesIn(onThisPlatform<FaultCase>(
        {FaultCase{.name = "NoFault", .outcome = Outcome::Written, .message = kWritten},
         FaultCase{.name = "NoFaultForTheUnprivilegedUser",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .outcome = Outcome::Written,
                   .message = kWritten},
         // The export file, after it was listed.
         FaultCase{.name = "ExportFileVanished",
                   .stage = Stage::Listed,
                   .spoil = removeExport,
                   .failingFile = exportPath,
                   .reason = SystemError::NoSuchFile},
         FaultCase{.name = "ExportFileUnreadable",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .stage = Stage::Listed,
                   .spoil = chmodExport(0600),
                   .failingFile = exportPath,
                   .reason = SystemError::AccessDenied},
         FaultCase{.name = "ExportFileReplacedByFolder",
                   .stage = Stage::Listed,
                   .spoil = exportToFolder,
                   .failingFile = exportPath,
                   .reason = "mappe"},
         // The UNIKON file, when it is double-clicked.
         FaultCase{.name = "UnikonFileVanishedAtMerge",
                   .stage = Stage::Loaded,
                   .spoil = removeUnikon,
                   .failingFile = unikonPath,
                   .reason = SystemError::NoSuchFile},
         FaultCase{.name = "UnikonFileUnreadableAtMerge",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .stage = Stage::Loaded,
                   .spoil = chmodUnikon(0600),
                   .failingFile = unikonPath,
                   .reason = SystemError::AccessDenied},
         FaultCase{.name = "UnikonFileReplacedByFolderAtMerge",
                   .stage = Stage::Loaded,
                   .spoil = unikonToFolder,
                   .failingFile = unikonPath,
                   .reason = "mappe"},
         // Refused before anything is written; clicked again once the cause is gone.
         FaultCase{.name = "UnikonFileReadOnly",
                   .arrange = chmodUnikon(0444),
                   .failingFile = unikonPath,
                   .reason = "skrivebeskyttet",
                   .rewriteRefused = true,
                   .cure = chmodUnikon(0644)},
         FaultCase{.name = "UnikonFileNotWritableForTheUser",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .arrange = chmodUnikon(0644),
                   .failingFile = unikonPath,
                   .reason = "Adgang nægtet",
                   .rewriteRefused = true,
                   .cure = chmodUnikon(0666)},
         // The UNIKON file, between the merge and "Dan fil".
         FaultCase{.name = "UnikonFileVanishedBeforeDanFil",
                   .spoil = removeUnikon,
                   .failingFile = unikonPath,
                   .reason = SystemError::NoSuchFile},
         FaultCase{.name = "UnikonFileUnreadableBeforeDanFil",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .spoil = chmodUnikon(0200),
                   .failingFile = unikonPath,
                   .reason = "Adgang nægtet",
                   .rewriteRefused = true},
         FaultCase{.name = "UnikonFileReadOnlyBeforeDanFil",
                   .spoil = chmodUnikon(0444),
                   .failingFile = unikonPath,
                   .reason = "skrivebeskyttet",
                   .rewriteRefused = true},
         FaultCase{.name = "UnikonFileReplacedByFolderBeforeDanFil",
                   .spoil = unikonToFolder,
                   .failingFile = unikonPath,
                   .reason = "mappe",
                   .rewriteRefused = true},
         FaultCase{.name = "UnikonFileChangedSinceTheMerge",
                   .spoil = unikonChangedElsewhere,
                   .failingFile = unikonPath,
                   .reason = "ændret af et andet program",
                   .rewriteRefused = true},
         // A folder that takes no new file: the file is written in place.
         FaultCase{.name = "UnikonFolderNotWritable",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .spoil = unikonFolderClosed,
                   .outcome = Outcome::Written,
                   .message = kWritten},
         FaultCase{.name = "UnikonFileIsASymbolicLink",
                   .runs = Runs::LinuxOnly,
                   .arrange = unikonBehindLink,
                   .outcome = Outcome::Written,
                   .message = kWritten},
         FaultCase{.name = "LinkedFileInAFolderNotWritable",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .arrange =
                       [](ReliabilityScene& s) {
                           unikonBehindLink(s);
                           setPermissionBits(s.absolute(s.target), 0666);
                           setPermissionBits(s.absolute(s.baseName + QStringLiteral("/data")),
                                             0755);
                       },
                   .outcome = Outcome::Written,
                   .message = kWritten},
         // The backup folder and the backup name.
         FaultCase{.name = "BackupFolderMissing",
                   .spoil = uniKopGone,
                   .failingFile = datedBackup,
                   .reason = SystemError::NoSuchFolder},
         FaultCase{.name = "BackupFolderIsAPlainFile",
                   .arrange = uniKopPlainFile,
                   .failingFile = datedBackup,
                   .reason = SystemError::NotAFolder},
         FaultCase{.name = "BackupFolderNotWritable",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::Unprivileged,
                   .spoil =
                       [](ReliabilityScene& s) {
                           setPermissionBits(s.absolute(s.baseName + '/' + kCopiesFolder), 0755);
                       },
                   .failingFile = datedBackup,
                   .reason = SystemError::AccessDenied},
         FaultCase{
             .name = "BackupNameIsALinkToTheUnikonFile",
             .runs = Runs::LinuxOnly,
             .arrange = [](ReliabilityScene& s) { QFile::link(unikonPath(s), datedBackup(s)); },
             .outcome = Outcome::Written,
             .backupSuffix = QStringLiteral("_2"),
             .message = kWritten},
         FaultCase{.name = "BackupNameTaken",
                   .arrange = earlierBackups({""}),
                   .outcome = Outcome::Written,
                   .backupSuffix = QStringLiteral("_2"),
                   .message = kWritten},
         FaultCase{.name = "BackupNameTakenTwice",
                   .arrange = earlierBackups({"", "_2"}),
                   .outcome = Outcome::Written,
                   .backupSuffix = QStringLiteral("_3"),
                   .message = kWritten},
         FaultCase{.name = "DateTextWithSlashes",
                   .arrange = dateText(QStringLiteral("12/7/26")),
                   .outcome = Outcome::Written,
                   .backupDate = QStringLiteral("12-7-26"),
                   .message = kWritten},
         FaultCase{.name = "DateTextWithBackslashAndColon",
                   .arrange = dateText(QStringLiteral("12\\7:26")),
                   .outcome = Outcome::Written,
                   .backupDate = QStringLiteral("12-7-26"),
                   .message = kWritten},
         // Another program has a file open: nothing may read it at all, or
         // others may read it but not replace it.
         // Windows lists a shortcut among the files; it is no file to read or rewrite.
         FaultCase{.name = "UnikonShortcutDoubleClicked",
                   .runs = Runs::WindowsOnly,
                   .arrange = unikonShortcut,
                   .stage = Stage::Loaded,
                   .failingFile = unikonPath,
                   .reason = "genvej"},
         FaultCase{.name = "ExportFileLocked",
                   .runs = Runs::WindowsOnly,
                   .stage = Stage::Listed,
                   .spoil = heldExport(HeldFile::Sharing::Nothing),
                   .failingFile = exportPath,
                   .reason = SystemError::InUse},
         FaultCase{.name = "UnikonFileLockedAtMerge",
                   .runs = Runs::WindowsOnly,
                   .stage = Stage::Loaded,
                   .spoil = heldUnikon(HeldFile::Sharing::Nothing),
                   .failingFile = unikonPath,
                   .reason = SystemError::InUse},
         FaultCase{.name = "UnikonFileLockedBeforeDanFil",
                   .runs = Runs::WindowsOnly,
                   .spoil = heldUnikon(HeldFile::Sharing::Nothing),
                   .failingFile = unikonPath,
                   .reason = "bruges af et andet program",
                   .rewriteRefused = true},
         FaultCase{.name = "UnikonFileOpenElsewhereBeforeDanFil",
                   .runs = Runs::WindowsOnly,
                   .spoil = heldUnikon(HeldFile::Sharing::Reading),
                   .failingFile = unikonPath,
                   .reason = "bruges af et andet program",
                   .rewriteRefused = true,
                   .cure = letGo},
         // A program that keeps the file open as most do, sharing reading and
         // writing but not deleting: written in place, after a whole backup.
         FaultCase{.name = "UnikonFileOpenForWritingElsewhere",
                   .runs = Runs::WindowsOnly,
                   .spoil = heldUnikon(HeldFile::Sharing::ReadingAndWriting),
                   .outcome = Outcome::Written,
                   .message = kWritten},
         // A scanner or sync client that lets go while "Dan fil" waits for it.
         FaultCase{.name = "UnikonFileHeldBrieflyDuringDanFil",
                   .runs = Runs::WindowsOnly,
                   .spoil = heldUnikon(HeldFile::Sharing::Reading),
                   .outcome = Outcome::Written,
                   .message = kWritten,
                   .releaseAfterMs = 300},
         // A full disk.
         FaultCase{.name = "DiskFullDuringTheRewrite",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::SmallDisk,
                   .arrange = manyPigeons,
                   .outcome = Outcome::BackupOnly,
                   .failingFile = unikonPath,
                   .reason = SystemError::FileTooLarge},
         FaultCase{.name = "DiskFullDuringTheBackup",
                   .runs = Runs::LinuxOnly,
                   .restriction = Restriction::SmallDisk,
                   .arrange = bigUnikonFile,
                   .failingFile = datedBackup,
                   .reason = SystemError::FileTooLarge},
         // The list was built from another file than the one "Dan fil" would write.
         FaultCase{.name = "AnotherUnikonFileMadeCurrent",
                   .arrange =
                       [](ReliabilityScene& s) {
                           s.scratch.writeFile(s.unikonFolder + QStringLiteral("/z99999"), kUnikon);
                       },
                   .afterMerge =
                       [](const ReliabilityScene&) {
                           return QList<UserStep>{{UserStep::Kind::Click, QStringLiteral("File1"),
                                                   QStringLiteral("z99999")}};
                       },
                   .message = kDoubleClickAgain},
         FaultCase{.name = "UnikonFolderChanged",
                   .afterMerge =
                       [](const ReliabilityScene& s) {
                           return QList<UserStep>{{UserStep::Kind::OpenFolder,
                                                   QStringLiteral("Dir1"), s.absolute(s.baseName)}};
                       },
                   .message = kDoubleClickAgain},
         FaultCase{.name = "SameNameInAnotherFolderMadeCurrent",
                   .arrange =
                       [](ReliabilityScene& s) {
                           s.scratch.writeFile(s.baseName + QStringLiteral("/andet/z12345"),
                                               kUnikon);
                       },
                   .afterMerge =
                       [](const ReliabilityScene& s) {
                           return QList<UserStep>{
                               {UserStep::Kind::OpenFolder, QStringLiteral("Dir1"),
                                s.absolute(s.baseName + QStringLiteral("/andet"))},
                               {UserStep::Kind::Click, QStringLiteral("File1"),
                                QStringLiteral("z12345")}};
                       },
                   .message = kDoubleClickAgain}})),
    rowName);

} // namespace
} // namespace dalvero::testing
