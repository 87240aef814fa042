// Backups read back: the file each one was made from, the order they are
// listed in, and which file one may be put back over.
#include "conversion/backup_copies.h"
#include "conversion/restore_target.h"
#include "support/named_row.h"
#include "support/scratch_folder.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace dalvero::testing {
namespace {

struct NameCase {
    const char* name;
    QString fileName;
    QString unikonName; // empty: no backup's name
    QString dateText = {};
    int number = 1;
    // The locale whose short date form wrote the name; none: the date is
    // not looked at.
    const char* locale = nullptr;
    QDate date = {}; // invalid: the name reads as no date there
};

class CopyNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(CopyNames, GiveTheFileTheCopyWasMadeFrom) {
    const NameCase& c = GetParam();
    const QLocale locale(QString::fromLatin1(c.locale ? c.locale : "C"));
    const std::optional<CopyName> parsed = parseCopyName(c.fileName, locale);
    ASSERT_EQ(parsed.has_value(), !c.unikonName.isEmpty());
    if (!parsed)
        return;
    EXPECT_EQ(parsed->unikonName, c.unikonName);
    EXPECT_EQ(parsed->dateText, c.dateText);
    EXPECT_EQ(parsed->number, c.number);
    if (c.locale) {
        EXPECT_EQ(parsed->date, c.date) << parsed->date.toString(Qt::ISODate).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rule, CopyNames,
    ::testing::Values(
        NameCase{"DaysFirstCopy", "z12345_07-12-2026", "z12345", "07-12-2026"},
        NameCase{"NumberedCopy", "z12345_07.12.2026_12", "z12345", "07.12.2026", 12},
        NameCase{"NameWithUnderscores", "z_123_45_7-12-26_2", "z_123_45", "7-12-26", 2},
        NameCase{"NameEndingInADate", "z1_07-12-2026_08-12-2026", "z1_07-12-2026", "08-12-2026"},
        NameCase{"DateWithBlanks", "z12345_7. dec. 2026", "z12345", "7. dec. 2026"},
        NameCase{"NoDate", "z12345", ""}, NameCase{"DigitsAreANumberNotADate", "z12345_2", ""},
        NameCase{"NumberOneIsNeverGiven", "z12345_07-12-2026_1", ""},
        NameCase{"NumberWithALeadingZero", "z12345_07-12-2026_02", ""},
        NameCase{"NoName", "_07-12-2026", ""}, NameCase{"WordsAreNoDate", "z12345_gammel", ""},
        NameCase{"PlainDatedName", "z12345_07.12.2026", "z12345", "07.12.2026", 1, "da_DK",
                 QDate(2026, 12, 7)},
        NameCase{"ThirdOfTheDay", "z12345_07.12.2026_3", "z12345", "07.12.2026", 3, "da_DK",
                 QDate(2026, 12, 7)},
        NameCase{"SlashesMadeSafe", "z12345_12-7-26", "z12345", "12-7-26", 1, "en_US",
                 QDate(2026, 12, 7)},
        NameCase{"TwoDigitYearInThisCentury", "z12345_07.12.26", "z12345", "07.12.26", 1, "de_DE",
                 QDate(2026, 12, 7)},
        NameCase{"DateOfAnotherFormIsNoDate", "z12345_12-7-26", "z12345", "12-7-26", 1, "da_DK"},
        NameCase{"TrailingDotLeftOut", "z1_2026. 12. 07", "z1", "2026. 12. 07", 1, "hu_HU",
                 QDate(2026, 12, 7)},
        NameCase{"OldNameWithTheDot", "z1_2026. 12. 07._2", "z1", "2026. 12. 07.", 2, "hu_HU",
                 QDate(2026, 12, 7)}),
    rowName);

// Made in the opposite order of their names, and their file times changed
// as copying the folder would: the names say which is the newest. A name
// whose date cannot be read goes by its file's time, which is now.
TEST(BackupCopies, NewestByNameFirstAndOnlyBackups) {
    ScratchFolder scratch;
    for (const char* name : {"z12345_11-30-20", "z12345_12-7-20_11", "z12345_12-7-20_3",
                             "z12345_12-7-20_9", "z12345_12-7-20_2", "andet.txt", "z12345_12-6-20",
                             "z12345_12-7-20_10", "z12345_12-7-20", "z12345_kopi-1"}) {
        scratch.writeFile(QString::fromLatin1(name), "A\r\nB\r\n");
        QThread::msleep(30);
    }
    QFile copied(scratch.filePath(QStringLiteral("z12345_12-7-20")));
    ASSERT_TRUE(copied.open(QIODevice::ReadWrite));
    copied.setFileTime(QDateTime::currentDateTime().addDays(-30),
                       QFileDevice::FileModificationTime);
    copied.close();

    const Result<QList<BackupCopy>> listed =
        listBackupCopies(scratch.path(), QLocale(QStringLiteral("en_US")));
    ASSERT_TRUE(listed.ok());
    QStringList names;
    for (const BackupCopy& copy : listed.value()) {
        names << copy.fileName;
        EXPECT_EQ(copy.lineCount, 2);
    }
    EXPECT_EQ(names, QStringList({"z12345_kopi-1", "z12345_12-7-20_11", "z12345_12-7-20_10",
                                  "z12345_12-7-20_9", "z12345_12-7-20_3", "z12345_12-7-20_2",
                                  "z12345_12-7-20", "z12345_12-6-20", "z12345_11-30-20"}));
}

struct TargetCase {
    const char* name;
    Runs runs = Runs::Everywhere;
    QString chosen;
    std::function<void(const ScratchFolder&)> arrange = {};
    // Words of what the user is told when the file may not take the copy;
    // else the bytes it is shown with, none for a file that is missing.
    QString refused = {};
    std::optional<QByteArray> bytes = "A\r\n";
};

class RestoreTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(RestoreTargets, OnlyTheFileTheCopyWasMadeOf) {
    const TargetCase& c = GetParam();
    ScratchFolder scratch;
    const QString name = QStringLiteral("z12345_06-12-26");
    const BackupCopy copy{
        scratch.writeFile(copyPath(name), "copy\r\n"), name, *parseCopyName(name), {}, {}};
    scratch.writeFile(QStringLiteral("unikon/z12345"), "A\r\n");
    scratch.writeFile(QStringLiteral("unikon/z99999"), "B\r\n");
    if (c.arrange)
        c.arrange(scratch);
    const TargetCheck checked =
        checkRestoreTarget(copy, scratch.filePath(c.chosen), scratch.filePath(kCopiesFolder));
    QString said;
    if (const auto* failure = std::get_if<Failure>(&checked))
        said = failure->message();
    if (const auto* another = std::get_if<ChooseAnother>(&checked))
        said = another->advice;
    ASSERT_EQ(said.isEmpty(), c.refused.isEmpty()) << said.toStdString();
    EXPECT_TRUE(said.contains(c.refused)) << said.toStdString();
    if (!said.isEmpty())
        return;
    const RestoreTarget& target = std::get<RestoreTarget>(checked);
    EXPECT_EQ(target.path, scratch.filePath(c.chosen));
    EXPECT_EQ(target.file ? std::optional(target.file->bytes) : std::nullopt, c.bytes);
}

void removeTheFile(const ScratchFolder& s) {
    QFile::remove(s.filePath(QStringLiteral("unikon/z12345")));
}

INSTANTIATE_TEST_SUITE_P(Rule, RestoreTargets,
                         ::testing::ValuesIn(onThisPlatform<TargetCase>({
                             {.name = "TheFileOfItsName", .chosen = "unikon/z12345"},
                             // A replace that broke off left no file of that name.
                             {.name = "AFileGoneMissing",
                              .chosen = "unikon/z12345",
                              .arrange = removeTheFile,
                              .bytes = std::nullopt},
                             {.name = "AFileOfAnotherName",
                              .chosen = "unikon/z99999",
                              .refused = "hører til filen z12345, ikke til z99999"},
                             {.name = "AFolderOfItsName",
                              .chosen = "unikon/z12345",
                              .arrange =
                                  [](const ScratchFolder& s) {
                                      removeTheFile(s);
                                      s.makeFolder(QStringLiteral("unikon/z12345"));
                                  },
                              .refused = "Det er en mappe"},
                             {.name = "Shortcut",
                              .runs = Runs::WindowsOnly,
                              .chosen = "unikon/z12345.lnk",
                              .arrange =
                                  [](const ScratchFolder& s) {
                                      QFile::link(s.filePath(QStringLiteral("unikon/z12345")),
                                                  s.filePath(QStringLiteral("unikon/z12345.lnk")));
                                  },
                              .refused = "genvej"},
                             // Through a link the file would be the copy itself.
                             {.name = "LinkToTheCopyItself",
                              .runs = Runs::LinuxOnly,
                              .chosen = "unikon/z12345",
                              .arrange =
                                  [](const ScratchFolder& s) {
                                      removeTheFile(s);
                                      makeSymbolicLink("../" + copyPath("z12345_06-12-26"),
                                                       s.filePath(QStringLiteral("unikon/z12345")));
                                  },
                              .refused = "Det er selve kopien"},
                         })),
                         rowName);

} // namespace
} // namespace dalvero::testing
