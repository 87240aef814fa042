#include "conversion/backup_copies.h"
#include "conversion/guarded_rewrite.h"
#include "conversion/text_file.h"
#include "platform/file_replace.h"
#include "platform/scripted_answers.h"
#include "support/child_process.h"
#include "support/merge_input_generator.h"
#include "support/named_row.h"
#include "support/raw_bytes.h"
#include "support/scratch_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#ifdef DALVERO_LIBFIU
#include <fiu-control.h>
#include <fiu.h>
#endif

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>

namespace dalvero::testing {
namespace {

const QByteArray kOld = " 0700DVK1234W00000000001\r\n 0800DVK2345 00000000002\r\n";
const Lines kNew = {" 0700DVK1234Wnew-tail-01", " 0900DVK3456 00000000000"};
const QByteArray kNewBytes = " 0700DVK1234Wnew-tail-01\r\n 0900DVK3456 00000000000\r\n";

struct Scene {
    ScratchFolder folder;
    QString copies = folder.makeFolder(kCopiesFolder);
    QString uniFolder = folder.makeFolder(QStringLiteral("uni"));
    QString unikon = folder.writeFile(QStringLiteral("uni/z12345"), kOld);
    QString target = unikon; // the file whose bytes must change, or not
    QByteArray expected = kNewBytes;
    QByteArray report;
    std::unique_ptr<HeldFile> held; // another program's, during the rewrite
    QStringList gone;               // entries the rewrite removes
    QStringList made;               // entries the rewrite makes
};

// The one place a rewrite runs: the caller's own process or a restricted child.
QByteArray rewriteReport(const Scene& s, const Lines& lines) {
    const auto done = rewriteAsShown(s.unikon, dalvero::joinLines(lines), s.folder.path());
    return done ? QByteArray("OK") : "FAIL " + done.failure().message().toUtf8();
}

struct RewriteCase {
    const char* name;
    std::function<void(Scene&)> arrange;
    std::function<void(Scene&)> act;
    bool succeeds;
    std::function<void(const Scene&)> check;
    Runs runs = Runs::Everywhere;
};

class WholeRewrite : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(WholeRewrite, WritesAllOrNothing) {
    const RewriteCase& c = GetParam();
    Scene scene;
    c.arrange(scene);
    const QStringList before = folderEntries(QFileInfo(scene.target).absolutePath());
    c.act(scene);
    ASSERT_EQ(scene.report.startsWith("OK"), c.succeeds) << scene.report.constData();
    if (!c.succeeds) {
        EXPECT_TRUE(scene.report.contains(QFile::encodeName(scene.unikon)))
            << "the report names the file: " << scene.report.constData();
    }
    // Whole or not at all, and no temporary file left behind.
    if (QFileInfo(scene.target).isFile()) {
        EXPECT_EQ(fileBytes(scene.target), c.succeeds ? scene.expected : kOld);
    }
    QStringList expected = before + scene.made;
    for (const QString& name : scene.gone)
        expected.removeOne(name);
    QStringList after = folderEntries(QFileInfo(scene.target).absolutePath());
    after.sort();
    expected.sort();
    EXPECT_EQ(after, expected);
    c.check(scene);
}

void inProcess(Scene& s) {
    s.report = rewriteReport(s, kNew);
}

void asUnprivileged(Scene& s) {
    setPermissionBits(s.copies, 0777);
    const auto outcome = runAsUnprivileged([&] { return rewriteReport(s, kNew); });
    ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
    s.report = outcome.report;
}

void onFullDisk(Scene& s) {
    // Far more than the limit lets through, so the disk fills part-way.
    const Lines many = unikonLines(32767);
    const auto outcome = runWithFileSizeLimit(16 * 1024, [&] { return rewriteReport(s, many); });
    ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
    s.report = outcome.report;
}

// Another program has the file open and lets others only read it.
void heldElsewhere(Scene& s) {
    s.held = std::make_unique<HeldFile>(s.unikon, HeldFile::Sharing::Reading);
    ASSERT_TRUE(s.held->isHeld());
    s.report = rewriteReport(s, kNew);
    s.held.reset();
}

void nothing(Scene&) {}
void nothingToCheck(const Scene&) {}

// The system answers as scripted while the rewrite runs in this process.
std::function<void(Scene&)>
scripted(std::function<void(dalvero::platform::ScriptedAnswers&)> script) {
    return [script](Scene& s) {
        script(dalvero::platform::scriptedAnswers());
        inProcess(s);
        dalvero::platform::scriptedAnswers() = {};
    };
}

INSTANTIATE_TEST_SUITE_P(
    Fault, WholeRewrite,
    ::testing::ValuesIn(onThisPlatform<RewriteCase>({
        RewriteCase{"PlainRewrite", nothing, inProcess, true, nothingToCheck},
        RewriteCase{"OneLineGetsCrLf", [](Scene& s) { s.expected = "only\r\n"; },
                    [](Scene& s) { s.report = rewriteReport(s, {"only"}); }, true,
                    nothingToCheck},
        linuxOnly(RewriteCase{"PermissionsKept", [](Scene& s) { setPermissionBits(s.unikon, 0640); },
                    inProcess, true,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0640); }}),
        RewriteCase{"ReadOnlyRefusedEvenForRoot",
                    [](Scene& s) { setPermissionBits(s.unikon, 0444); }, inProcess, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0444); }},
        linuxOnly(RewriteCase{"NoPermissionAtAllRefused", [](Scene& s) { setPermissionBits(s.unikon, 0); },
                    inProcess, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0); }}),
        linuxOnly(RewriteCase{"SymlinkTargetRewrittenLinkKept",
                    [](Scene& s) {
                        QFile::rename(s.unikon, s.folder.filePath(QStringLiteral("real")));
                        s.target = s.folder.filePath(QStringLiteral("real"));
                        QFile::link(s.target, s.unikon);
                    },
                    inProcess, true,
                    [](const Scene& s) {
                        EXPECT_TRUE(QFileInfo(s.unikon).isSymLink());
                        EXPECT_EQ(QFileInfo(s.unikon).symLinkTarget(), s.target);
                    }}),
        linuxOnly(RewriteCase{"RelativeSymlinkFollowed",
                    [](Scene& s) {
                        s.folder.makeFolder(QStringLiteral("real"));
                        s.target = s.folder.filePath(QStringLiteral("real/z12345"));
                        QFile::rename(s.unikon, s.target);
                        makeSymbolicLink(QStringLiteral("../real/z12345"), s.unikon);
                    },
                    inProcess, true,
                    [](const Scene& s) {
                        EXPECT_TRUE(QFileInfo(s.unikon).isSymLink());
                        EXPECT_EQ(fileBytes(s.unikon), kNewBytes);
                    }}),
        linuxOnly(RewriteCase{"SymlinkToReadOnlyRefused",
                    [](Scene& s) {
                        QFile::rename(s.unikon, s.folder.filePath(QStringLiteral("real")));
                        s.target = s.folder.filePath(QStringLiteral("real"));
                        setPermissionBits(s.target, 0444);
                        QFile::link(s.target, s.unikon);
                    },
                    inProcess, false,
                    [](const Scene& s) { EXPECT_TRUE(QFileInfo(s.unikon).isSymLink()); }}),
        RewriteCase{"PathIsFolder",
                    [](Scene& s) {
                        QFile::remove(s.unikon);
                        s.folder.writeFile(QStringLiteral("uni/z12345/inside"), kOld);
                        s.target = s.folder.filePath(QStringLiteral("uni/z12345/inside"));
                    },
                    inProcess, false,
                    [](const Scene& s) { EXPECT_TRUE(QFileInfo(s.unikon).isDir()); }},
        linuxOnly(RewriteCase{"FullDiskPartWay", nothing, onFullDisk, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0644); }}),
        // Written in place: the folder takes no replacement file.
        linuxOnly(RewriteCase{"FolderNotWritable",
                    [](Scene& s) {
                        s.folder.openToEveryone();
                        setPermissionBits(s.uniFolder, 0755);
                        setPermissionBits(s.unikon, 0666);
                    },
                    asUnprivileged, true, nothingToCheck}),
        linuxOnly(RewriteCase{"FileNotWritableInWritableFolder",
                    [](Scene& s) {
                        s.folder.openToEveryone();
                        setPermissionBits(s.uniFolder, 0777);
                        setPermissionBits(s.unikon, 0644);
                    },
                    asUnprivileged, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0644); }}),
        linuxOnly(RewriteCase{"WritableForUnprivilegedUser",
                    [](Scene& s) {
                        s.folder.openToEveryone();
                        setPermissionBits(s.uniFolder, 0777);
                        setPermissionBits(s.unikon, 0666);
                    },
                    asUnprivileged, true,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0666); }}),
        RewriteCase{"LeftoverOfABrokenRewriteRemoved",
                    [](Scene& s) {
                        s.gone << QFileInfo(s.folder.writeFile(
                                                QStringLiteral("uni/.~dalvero-z12345-x7.tmp"),
                                                "half"))
                                      .fileName();
                    },
                    inProcess, true, nothingToCheck},
        RewriteCase{"StrandedNewListBesideAMissingFileKept",
                    [](Scene& s) {
                        QFile::remove(s.unikon);
                        s.folder.writeFile(QStringLiteral("uni/.~dalvero-z12345-x7.tmp"), "new");
                        s.made << QStringLiteral("z12345");
                    },
                    inProcess, true,
                    [](const Scene& s) {
                        EXPECT_EQ(fileBytes(s.folder.filePath(
                                      QStringLiteral("uni/.~dalvero-z12345-x7.tmp"))),
                                  "new");
                    }},
        RewriteCase{"HeldUntilTheLastWaitWritten", nothing,
                    scripted([](auto& a) {
                        a.held = [looks = 0](const QString&) mutable { return ++looks <= 4; };
                    }),
                    true, nothingToCheck},
        linuxOnly(RewriteCase{"ModeAndOwnerNotKeptByTheFileSystem", nothing,
                    scripted([](auto& a) {
                        a.step = [](const char* step, const QString&) -> unsigned long {
                            const QByteArray name(step);
                            return name == "new file: mode"    ? ENOSYS
                                   : name == "new file: owner" ? EPERM
                                                               : 0;
                        };
                    }),
                    true, nothingToCheck}),
        windowsOnly(RewriteCase{"OpenInAnotherProgram", nothing, heldElsewhere, false,
                    nothingToCheck}),
        windowsOnly(RewriteCase{"HiddenFileStaysHidden",
                    [](Scene& s) { ASSERT_TRUE(makeHidden(s.unikon)); },
                    inProcess, true,
                    [](const Scene& s) { EXPECT_TRUE(QFileInfo(s.unikon).isHidden()); }})})),
    rowName);

// Whatever the merge can give is written and read back byte for byte.
TEST(WholeRewrite, ReadsBackEveryByte) {
    Lines lines;
    QByteArray allButCr;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r')
            allButCr += static_cast<char>(b);
    }
    lines << allButCr << "" << raw("\0") << "\n"
          << "\xe6\xf8\xe5"
          << "";
    MergeInputGenerator generator(7);
    lines += generator.next(200, 200).oldLines;
    ScratchFolder folder;
    const QString path = folder.filePath(QStringLiteral("z12345"));
    ASSERT_TRUE(rewriteAsShown(path, dalvero::joinLines(lines), folder.path()));
    const auto read = dalvero::readLines(path, QStringLiteral("læs"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), lines);
}

// Every step of a rewrite that asks the file system, failed in turn, and
// the process ended right after each: the file is always whole, no listed
// copy is half a copy, and the next run works and clears what was left.
#ifdef Q_OS_WIN
constexpr unsigned long kIoError = 29; // ERROR_WRITE_FAULT
constexpr unsigned long kDenied = 5;   // ERROR_ACCESS_DENIED
// ReplaceFileW's documented answers, and a write-protected medium.
const QList<unsigned long> kReplaceAnswers = {5, 32, 1175, 1176, 1177, 19};
constexpr bool kFolderSyncs = false; // MOVEFILE_WRITE_THROUGH
#else
constexpr bool kFolderSyncs = true;
constexpr unsigned long kIoError = EIO;
constexpr unsigned long kDenied = EACCES;
const QList<unsigned long> kReplaceAnswers = {};
#endif

const QByteArray kEarlier = " 0600DVK0001 00000000009\r\n";

// What each program hands the one guarded rewrite.
struct ProgramRun {
    const char* name;
    QByteArray newBytes; // "Dan fil": the merged list; the restore: a copy's bytes
    bool inPlace;        // the folder takes no replacement file
};

// A fresh scene, or in a rerun of the test the parent's, named by the
// variable DALVERO_STEP_SCENE.
struct StepScene {
    std::optional<ScratchFolder> scratch;
    QString root = qEnvironmentVariable("DALVERO_STEP_SCENE");
    QString unikon;
    QString copies;
    StepScene() {
        if (root.isEmpty()) {
            root = scratch.emplace().path();
            scratch->writeFile(QStringLiteral("uni/z12345"), kOld);
            scratch->writeFile(copyPath("z12345_01-12-26"), kEarlier);
        }
        unikon = QDir(root).filePath(QStringLiteral("uni/z12345"));
        copies = QDir(root).filePath(kCopiesFolder);
    }
};

using StepHook = std::function<unsigned long(int, const char*)>;

// Under libfiu's preload (the LibcSteps test) the steps are the C library's
// own calls, each failure point a step. Qt opens files with open64, which
// the preload does not wrap: those opens are the seam's "read" and "in
// place: open" steps, failed in the other run.
#ifdef DALVERO_LIBFIU
bool libcSteps() {
    return qEnvironmentVariable("LD_PRELOAD").contains(QStringLiteral("fiu_posix_preload"));
}
// The preload's points for files, each enabled by its own name so that the
// step is named by it.
const char* const kLibcPoints[] = {
    "posix/io/oc/open",        "posix/io/oc/close",        "posix/io/sync/fsync",
    "posix/io/sync/fdatasync", "posix/io/rw/read",         "posix/io/rw/read/reduce",
    "posix/io/rw/write",       "posix/io/rw/write/reduce", "posix/io/rw/pread",
    "posix/io/rw/pwrite",      "posix/io/rw/ftruncate",    "posix/io/rw/truncate",
    "posix/io/dir/opendir",    "posix/io/dir/readdir",     "posix/io/dir/closedir",
    "posix/io/dir/unlink",     "posix/io/dir/rename"};
const StepHook* libcHook = nullptr;
int libcCalls = 0;
int libcStep(const char* name, int*, void** failinfo, unsigned int*) {
    const unsigned long error = (*libcHook)(++libcCalls, name);
    *failinfo = reinterpret_cast<void*>(static_cast<intptr_t>(error));
    return error != 0;
}
void armLibc(const StepHook& hook) {
    libcHook = &hook;
    libcCalls = 0;
    fiu_init(0);
    for (const char* point : kLibcPoints)
        fiu_enable_external(point, 1, nullptr, 0, libcStep);
}
void disarmLibc() {
    for (const char* point : kLibcPoints)
        fiu_disable(point);
}
#else
bool libcSteps() {
    return false;
}
void armLibc(const StepHook&) {}
void disarmLibc() {}
#endif

// Runs the program's rewrite with `hook` told of each step.
dalvero::Result<dalvero::Rewritten> rewriteWith(const StepScene& s, const ProgramRun& p,
                                                const StepHook& hook) {
    int steps = 0;
    const bool libc = libcSteps();
    dalvero::platform::scriptedAnswers().step = [&](const char* step, const QString& path) {
        if (p.inPlace && QByteArray(step) == "new file: create" &&
            path.contains(QStringLiteral("uni")) && !path.contains(kCopiesFolder))
            return kDenied;
        return libc ? 0ul : hook(++steps, step);
    };
    const QByteArray shown = fileBytes(s.unikon);
    if (libc)
        armLibc(hook);
    const auto done =
        dalvero::rewriteGuarded({s.unikon,
                                 shown,
                                 QDir(s.copies).filePath(QStringLiteral("z12345_07-12-26")),
                                 p.newBytes,
                                 {}},
                                [](int) {});
    if (libc)
        disarmLibc();
    dalvero::platform::scriptedAnswers().step = {};
    return done;
}

// Every name in both folders but the file and the listed copies (which
// include the one there before), whoever made it.
QStringList leftOver(const StepScene& s) {
    QStringList left = folderEntries(QFileInfo(s.unikon).absolutePath());
    left.removeOne(QStringLiteral("z12345"));
    QStringList inCopies = folderEntries(s.copies);
    const auto copies = dalvero::listBackupCopies(s.copies);
    for (const dalvero::BackupCopy& copy : copies.value())
        inCopies.removeOne(copy.fileName);
    return left + inCopies;
}

// The file whole, old or new; each listed copy a whole earlier state. A stop
// in the middle of writing in place may leave the file short, once the old
// bytes are the newest copy.
void expectNothingLost(const StepScene& s, const ProgramRun& p, bool ended, const std::string& at) {
    SCOPED_TRACE(at);
    const auto copies = dalvero::listBackupCopies(s.copies);
    ASSERT_TRUE(copies.ok());
    for (const dalvero::BackupCopy& copy : copies.value())
        EXPECT_TRUE(fileBytes(copy.path) == kOld || fileBytes(copy.path) == kEarlier)
            << copy.fileName.toStdString();
    ASSERT_TRUE(QFileInfo(s.unikon).isFile()) << "the file is missing";
    const QByteArray now = fileBytes(s.unikon);
    if (ended && p.inPlace && now != kOld && now != p.newBytes) {
        ASSERT_FALSE(copies.value().isEmpty());
        EXPECT_EQ(fileBytes(copies.value().first().path), kOld)
            << "the newest copy is not the old file";
    } else {
        EXPECT_TRUE(now == kOld || now == p.newBytes) << now.constData();
    }
}

// Once the cause is gone the same click writes the file, and nothing of
// ours is left behind.
void expectTheNextRunWrites(const StepScene& s, const ProgramRun& p, const std::string& at) {
    SCOPED_TRACE(at);
    const auto again = rewriteWith(s, p, [](int, const char*) { return 0ul; });
    ASSERT_TRUE(again.ok()) << again.failure().message().toStdString();
    EXPECT_EQ(fileBytes(s.unikon), p.newBytes);
    EXPECT_EQ(leftOver(s), QStringList());
}

class EveryStep : public ::testing::TestWithParam<ProgramRun> {};

TEST_P(EveryStep, FailedOrEndedThereLosesNothing) {
    const ProgramRun& p = GetParam();
    // A rerun by the test below: the rewrite, ended dead before step N.
    if (const int end = qEnvironmentVariableIntValue("DALVERO_STEP_END_AT")) {
        StepScene s;
        rewriteWith(s, p, [&](int k, const char*) {
            if (k == end)
                std::_Exit(86);
            return 0ul;
        });
        return;
    }
    QStringList names;
    { // the steps of a run that nothing stops
        StepScene s;
        ASSERT_TRUE(rewriteWith(s, p, [&](int, const char* step) {
                        names << QString::fromLatin1(step);
                        return 0ul;
                    }).ok());
    }
    // The syncs the steps rely on are steps of their own: a file is whole on
    // the disk before it takes a name, and the copy before the file is
    // written over.
    for (int i = 0; i < names.size() && !libcSteps(); ++i) {
        if (!names[i].startsWith(QStringLiteral("copy: name")) &&
            !names[i].startsWith(QStringLiteral("replace: re")) &&
            names[i] != QStringLiteral("in place: open"))
            continue;
        const QStringList before = names.mid(0, i).filter(QStringLiteral("new file: "));
        EXPECT_EQ(before.value(before.size() - 1), QStringLiteral("new file: sync"))
            << names[i].toStdString();
        // The copy's new name is on the disk before the file is written over.
        if (kFolderSyncs && names[i].startsWith(QStringLiteral("copy: name"))) {
            EXPECT_EQ(names.value(i + 1), QStringLiteral("folder: sync"));
        }
    }
    int tried = 0;
    int held = 0;
    const auto count = [&] {
        ++tried;
        held += !::testing::Test::HasFailure();
    };
    for (int n = 1; n <= names.size(); ++n) {
        const QList<unsigned long> errors =
            QList<unsigned long>{kIoError} + (names[n - 1] == QStringLiteral("replace: replace")
                                                  ? kReplaceAnswers
                                                  : QList<unsigned long>{});
        for (unsigned long error : errors) {
            const std::string at = "failed at step " + std::to_string(n) + " (" +
                                   names[n - 1].toStdString() + ") with " + std::to_string(error);
            StepScene s;
            const auto result =
                rewriteWith(s, p, [&](int k, const char*) { return k == n ? error : 0ul; });
            expectNothingLost(s, p, false, at);
            if (!result.ok()) {
                EXPECT_FALSE(result.failure().path.isEmpty()) << at;
                EXPECT_FALSE(result.failure().reason.isEmpty()) << at;
                EXPECT_EQ(fileBytes(s.unikon), kOld) << at << ": a failure with the file changed";
            }
            expectTheNextRunWrites(s, p, at);
            count();
        }
        // Ended right after step n-1, before step n: a process that stops dead.
        StepScene s;
        const std::string at =
            "ended before step " + std::to_string(n) + " (" + names[n - 1].toStdString() + ")";
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        EXPECT_EQ(rerunTest(QStringLiteral("%1.%2").arg(test->test_suite_name(), test->name()),
                            {QStringLiteral("DALVERO_STEP_END_AT=%1").arg(n),
                             QStringLiteral("DALVERO_STEP_SCENE=") + s.root}),
                  86)
            << at;
        expectNothingLost(s, p, true, at);
        expectTheNextRunWrites(s, p, at);
        count();
    }
    std::cout << p.name << ": " << names.size() << " steps ("
              << names.join(QStringLiteral(", ")).toStdString() << "); " << tried
              << " cases tried, " << held << " held\n";
}

INSTANTIATE_TEST_SUITE_P(Steps, EveryStep,
                         ::testing::Values(ProgramRun{"DanFil", kNewBytes, false},
                                           ProgramRun{"Restore", kEarlier, false},
                                           ProgramRun{"DanFilInPlace", kNewBytes, true},
                                           ProgramRun{"RestoreInPlace", kEarlier, true}),
                         rowName);

} // namespace
} // namespace dalvero::testing
