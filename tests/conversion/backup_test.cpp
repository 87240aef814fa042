#include "conversion/backup.h"
#include "support/child_process.h"
#include "support/named_row.h"
#include "support/scratch_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace dalvero::testing {
namespace {

TEST(BackupNaming, ShortDateTextFollowsTheLocale) {
    const QDate day(2026, 12, 7);
    EXPECT_EQ(dalvero::shortDateText(day, QLocale(QLocale::Danish, QLocale::Denmark)),
              QStringLiteral("07.12.2026"));
    EXPECT_EQ(dalvero::shortDateText(day, QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("12/7/26"));
}

struct SafeCase {
    const char* name;
    QString dateText;
    QString safe;
};

class FileNameSafe : public ::testing::TestWithParam<SafeCase> {};

TEST_P(FileNameSafe, ReplacesOnlyForbiddenCharacters) {
    EXPECT_EQ(dalvero::fileNameSafe(GetParam().dateText), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, FileNameSafe,
    ::testing::Values(SafeCase{"DanishUnchanged", "07.12.2026", "07.12.2026"},
                      SafeCase{"IsoUnchanged", "2026-12-07", "2026-12-07"},
                      SafeCase{"WindowsDanishUnchanged", "7.12.2026", "7.12.2026"},
                      SafeCase{"DashesUnchanged", "07-12-2026", "07-12-2026"},
                      SafeCase{"Slashes", "12/7/26", "12-7-26"},
                      SafeCase{"Backslash", "12\\7\\26", "12-7-26"},
                      SafeCase{"EveryForbidden", "a/b\\c:d*e?f\"g<h>i|j", "a-b-c-d-e-f-g-h-i-j"},
                      SafeCase{"BlanksAndLettersKept", "7. dec. 2026", "7. dec. 2026"},
                      SafeCase{"NonAsciiKept", "7 déc. 2026 \u0662", "7 déc. 2026 \u0662"},
                      SafeCase{"Empty", "", ""},
                      SafeCase{"TrailingDotLeftOut", "2026. 12. 07.", "2026. 12. 07"},
                      SafeCase{"TrailingBlanksLeftOut", "7/12/26 . ", "7-12-26"}),
    rowName);

struct PathCase {
    const char* name;
    QString base;
    QString unikonName;
    QString dateText;
    QString copyName; // the name in the base's backup folder
};

class BackupPath : public ::testing::TestWithParam<PathCase> {};

// The rows write paths with "/"; a user's paths have the platform's
// separator, and the backup path joins with it too.
TEST_P(BackupPath, IsBaseUniKopNameAndDate) {
    const PathCase& c = GetParam();
    EXPECT_EQ(dalvero::backupPath(QDir::toNativeSeparators(c.base), c.unikonName, c.dateText),
              QDir::toNativeSeparators(c.base + '/' + copyPath(c.copyName)));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, BackupPath,
    ::testing::Values(PathCase{"Plain", "/home/due", "z12345", "19-03-09", "z12345_19-03-09"},
                      PathCase{"DateAfterExtension", "/b", "z12345.uni", "07.12.2026",
                               "z12345.uni_07.12.2026"},
                      PathCase{"SlashDateMadeSafe", "/b", "z12345", "12/7/26", "z12345_12-7-26"},
                      PathCase{"RootBaseDoubled", "/", "z1", "d", "z1_d"},
                      PathCase{"NameNotTouched", "/b", "a:b", "d", "a:b_d"}),
    rowName);

const QByteArray kOld = "old line 1\r\nold line 2\r\n";

struct Scene {
    ScratchFolder folder;
    QString unikon;
    QString backups;
    QByteArray original = kOld;
    std::unique_ptr<HeldFile> held; // another program's, during the backup
    Scene() {
        unikon = folder.writeFile(QStringLiteral("uni/z12345"), kOld);
        backups = folder.makeFolder(kCopiesFolder);
    }
    QString wanted() const { return folder.filePath(copyPath("z12345_07.12.2026")); }
};

// A backup as the rewrite makes one: of the bytes read just before.
dalvero::Result<QString> backUp(const QString& unikon, const QString& wanted) {
    const auto read = dalvero::readWhole(unikon, dalvero::kBackupFailed);
    return read ? dalvero::makeBackup(unikon, read.value(), wanted) : read.failure();
}

// Same day, same file: earlier backups are never replaced.
TEST(BackupCopy, SameDayBackupsTakeTheNextFreeName) {
    Scene scene;
    const QString wanted = scene.wanted();
    for (int run = 1; run <= 4; ++run) {
        const QByteArray contents = "run " + QByteArray::number(run) + "\r\n";
        ASSERT_TRUE(QFile::remove(scene.unikon));
        scene.folder.writeFile(QStringLiteral("uni/z12345"), contents);
        const auto made = backUp(scene.unikon, wanted);
        ASSERT_TRUE(made.ok()) << qPrintable(made.failure().message());
        const QString expected = run == 1 ? wanted : wanted + "_" + QString::number(run);
        EXPECT_EQ(made.value(), expected);
        EXPECT_EQ(fileBytes(expected), contents);
    }
    EXPECT_EQ(fileBytes(wanted), "run 1\r\n");
    EXPECT_EQ(fileBytes(wanted + "_2"), "run 2\r\n");
    EXPECT_EQ(folderEntries(scene.backups).size(), 4);
}

struct FaultCase {
    const char* name;
    // Makes the scene fail (or not) and returns the path to back up to.
    std::function<QString(Scene&)> arrange;
    bool succeeds;
    // What must be on disk afterwards, besides the UNIKON file untouched.
    std::function<void(const Scene&, const dalvero::Result<QString>&)> check;
    Runs runs = Runs::Everywhere;
};

class BackupFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(BackupFault, LeavesEverythingThatExisted) {
    const FaultCase& c = GetParam();
    Scene scene;
    const QString wanted = c.arrange(scene);
    const auto made = backUp(scene.unikon, wanted);
    scene.held.reset();
    ASSERT_EQ(made.ok(), c.succeeds) << (made.ok() ? "" : qPrintable(made.failure().message()));
    if (!made.ok()) {
        EXPECT_FALSE(made.failure().path.isEmpty());
        EXPECT_FALSE(made.failure().reason.isEmpty());
    }
    if (exists(scene.unikon) && !QFileInfo(scene.unikon).isDir()) {
        EXPECT_EQ(fileBytes(scene.unikon), scene.original);
    }
    c.check(scene, made);
}

INSTANTIATE_TEST_SUITE_P(
    Fault, BackupFault,
    ::testing::ValuesIn(onThisPlatform<FaultCase>(
        {FaultCase{"ByteExactCopy",
                   [](Scene& s) {
                       for (int b = 0; b < 256; ++b)
                           s.original += static_cast<char>(b);
                       QFile::remove(s.unikon);
                       s.folder.writeFile(QStringLiteral("uni/z12345"), s.original);
                       return s.wanted();
                   },
                   true,
                   [](const Scene& s, const auto& made) {
                       EXPECT_EQ(made.value(), s.wanted());
                       EXPECT_EQ(fileBytes(made.value()), s.original);
                   }},
         FaultCase{"MissingBackupFolder",
                   [](Scene& s) {
                       QDir(s.backups).removeRecursively();
                       return s.wanted();
                   },
                   false,
                   [](const Scene& s, const auto&) {
                       EXPECT_FALSE(exists(s.backups));
                       EXPECT_EQ(folderEntries(s.folder.path()), QStringList{"uni"});
                   }},
         FaultCase{
             "PlainFileNamedUniKop",
             [](Scene& s) {
                 QDir(s.backups).removeRecursively();
                 s.folder.writeFile(kCopiesFolder, "not a folder");
                 return s.wanted();
             },
             false,
             [](const Scene& s, const auto&) { EXPECT_EQ(fileBytes(s.backups), "not a folder"); }},
         FaultCase{
             "RawSlashDateText",
             [](Scene& s) {
                 return s.backups + QDir::separator() + QStringLiteral("z12345_12/7/26");
             },
             false,
             [](const Scene& s, const auto&) { EXPECT_TRUE(folderEntries(s.backups).isEmpty()); }},
         FaultCase{"SafeSlashDateText",
                   [](Scene& s) {
                       return dalvero::backupPath(s.folder.path(), QStringLiteral("z12345"),
                                                  QStringLiteral("12/7/26"));
                   },
                   true,
                   [](const Scene& s, const auto& made) {
                       EXPECT_EQ(made.value(), s.folder.filePath(copyPath("z12345_12-7-26")));
                       EXPECT_EQ(folderEntries(s.backups), QStringList{"z12345_12-7-26"});
                       EXPECT_EQ(fileBytes(made.value()), kOld);
                   }},
         FaultCase{"UnikonFileVanished",
                   [](Scene& s) {
                       QFile::remove(s.unikon);
                       return s.wanted();
                   },
                   false,
                   [](const Scene& s, const auto& made) {
                       EXPECT_EQ(made.failure().path, s.unikon);
                       EXPECT_TRUE(folderEntries(s.backups).isEmpty());
                   }},
         FaultCase{"UnikonPathIsFolder",
                   [](Scene& s) {
                       QFile::remove(s.unikon);
                       QDir().mkdir(s.unikon);
                       return s.wanted();
                   },
                   false,
                   [](const Scene& s, const auto&) {
                       EXPECT_TRUE(QFileInfo(s.unikon).isDir());
                       EXPECT_TRUE(folderEntries(s.backups).isEmpty());
                   }},
         FaultCase{"ReadOnlyEarlierBackupKept",
                   [](Scene& s) {
                       const QString earlier =
                           s.folder.writeFile(copyPath("z12345_07.12.2026"), "earlier");
                       setPermissionBits(earlier, 0444);
                       return s.wanted();
                   },
                   true,
                   [](const Scene& s, const auto& made) {
                       EXPECT_EQ(fileBytes(s.wanted()), "earlier");
                       EXPECT_EQ(made.value(), s.wanted() + "_2");
                       EXPECT_EQ(fileBytes(made.value()), kOld);
                   }},
         FaultCase{"GapInNumbersNotFilledBackwards",
                   [](Scene& s) {
                       s.folder.writeFile(copyPath("z12345_07.12.2026"), "1");
                       s.folder.writeFile(copyPath("z12345_07.12.2026_2"), "2");
                       s.folder.writeFile(copyPath("z12345_07.12.2026_4"), "4");
                       return s.wanted();
                   },
                   true,
                   [](const Scene& s, const auto& made) {
                       EXPECT_EQ(made.value(), s.wanted() + "_3");
                       EXPECT_EQ(fileBytes(s.wanted() + "_2"), "2");
                       EXPECT_EQ(fileBytes(s.wanted() + "_4"), "4");
                   }},
         // Tried again after a refusal: the day's newest copy, _10, already is the backup.
         FaultCase{"SameBytesAsTheDaysNewestCopy",
                   [](Scene& s) {
                       const QString day = copyPath("z12345_07.12.2026");
                       for (const char* n : {"_2", "_9"})
                           s.folder.writeFile(day + n, n);
                       for (const char* n : {"", "_10"})
                           s.folder.writeFile(day + n, kOld);
                       return s.wanted();
                   },
                   true,
                   [](const Scene& s, const auto& made) {
                       EXPECT_EQ(made.value(), s.wanted() + "_10");
                       EXPECT_EQ(folderEntries(s.backups).size(), 4);
                   }},
         windowsOnly(FaultCase{"UnikonFileLocked",
                               [](Scene& s) {
                                   s.held = std::make_unique<HeldFile>(s.unikon,
                                                                       HeldFile::Sharing::Nothing);
                                   EXPECT_TRUE(s.held->isHeld());
                                   return s.wanted();
                               },
                               false,
                               [](const Scene& s, const auto& made) {
                                   EXPECT_EQ(made.failure().path, s.unikon);
                                   EXPECT_TRUE(folderEntries(s.backups).isEmpty());
                               }}),
         linuxOnly(FaultCase{"DanglingLinkAtNameKept",
                             [](Scene& s) {
                                 QFile::link(s.folder.filePath(QStringLiteral("nowhere")),
                                             s.wanted());
                                 return s.wanted();
                             },
                             true,
                             [](const Scene& s, const auto& made) {
                                 EXPECT_TRUE(QFileInfo(s.wanted()).isSymLink());
                                 EXPECT_FALSE(exists(s.folder.filePath(QStringLiteral("nowhere"))));
                                 EXPECT_EQ(made.value(), s.wanted() + "_2");
                             }}),
         FaultCase{"FolderAtNameKept",
                   [](Scene& s) {
                       s.folder.makeFolder(copyPath("z12345_07.12.2026"));
                       return s.wanted();
                   },
                   true,
                   [](const Scene& s, const auto& made) {
                       EXPECT_TRUE(QFileInfo(s.wanted()).isDir());
                       EXPECT_EQ(made.value(), s.wanted() + "_2");
                   }}})),
    rowName);

} // namespace

namespace {

struct ChildCase {
    const char* name;
    Restriction restriction;
    std::function<void(Scene&)> arrange;
    bool succeeds;
    Runs runs = Runs::Everywhere;
};

class BackupInChild : public ::testing::TestWithParam<ChildCase> {};

// The copy really fails in the file system; nothing half-made stays behind.
TEST_P(BackupInChild, NoPartialBackupStays) {
    const ChildCase& c = GetParam();
    Scene scene;
    scene.folder.openToEveryone();
    c.arrange(scene);
    const auto backup = [&] {
        const auto made = backUp(scene.unikon, scene.wanted());
        return made ? "OK " + QFile::encodeName(made.value())
                    : "FAIL " + QFile::encodeName(made.failure().path);
    };
    const auto outcome = runRestricted(c.restriction, 16 * 1024, backup);
    ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
    EXPECT_EQ(fileBytes(scene.unikon), scene.original);
    if (c.succeeds) {
        EXPECT_EQ(outcome.report, "OK " + QFile::encodeName(scene.wanted()));
        EXPECT_EQ(fileBytes(scene.wanted()), scene.original);
    } else {
        EXPECT_TRUE(outcome.report.startsWith("FAIL /")) << outcome.report.constData();
        EXPECT_TRUE(folderEntries(scene.backups).isEmpty());
    }
}

void bigUnikonFile(Scene& s) {
    s.original = QByteArray(64 * 1024, 'x');
    QFile::remove(s.unikon);
    s.folder.writeFile(QStringLiteral("uni/z12345"), s.original);
}

INSTANTIATE_TEST_SUITE_P(
    Fault, BackupInChild,
    ::testing::ValuesIn(onThisPlatform<ChildCase>(
        {linuxOnly(ChildCase{"FullDiskDuringCopy", Restriction::SmallDisk, bigUnikonFile, false}),
         linuxOnly(ChildCase{"SmallFileOnSmallDisk", Restriction::SmallDisk, [](Scene&) {}, true}),
         linuxOnly(ChildCase{"BackupFolderNotWritable", Restriction::Unprivileged,
                             [](Scene& s) { setPermissionBits(s.backups, 0755); }, false}),
         linuxOnly(ChildCase{"UnikonFileUnreadable", Restriction::Unprivileged,
                             [](Scene& s) {
                                 setPermissionBits(s.backups, 0777);
                                 setPermissionBits(s.unikon, 0600);
                             },
                             false}),
         linuxOnly(ChildCase{"UnprivilegedUserMayCopy", Restriction::Unprivileged,
                             [](Scene& s) {
                                 setPermissionBits(s.backups, 0777);
                                 setPermissionBits(s.unikon, 0644);
                             },
                             true})})),
    rowName);
// Every row of BackupInChild needs a restriction only Linux can make.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(BackupInChild);

} // namespace
} // namespace dalvero::testing
