// Backups read back: the file each one was made from, and the order they
// are listed in.
#include "backup_copies.h"
#include "named_row.h"
#include "scratch_folder.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

namespace dalvero::testing {
namespace {

struct NameCase {
    const char* name;
    QString fileName;
    QString unikonName; // empty: no backup's name
    QString dateText = {};
    int number = 1;
};

class CopyNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(CopyNames, GiveTheFileTheCopyWasMadeFrom) {
    const NameCase& c = GetParam();
    const std::optional<CopyName> parsed = parseCopyName(c.fileName);
    ASSERT_EQ(parsed.has_value(), !c.unikonName.isEmpty());
    if (!parsed)
        return;
    EXPECT_EQ(parsed->unikonName, c.unikonName);
    EXPECT_EQ(parsed->dateText, c.dateText);
    EXPECT_EQ(parsed->number, c.number);
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
        NameCase{"NoName", "_07-12-2026", ""}, NameCase{"WordsAreNoDate", "z12345_gammel", ""}),
    rowName);

// Made in this order, a few ticks apart: the last one made is the newest,
// whatever its name says.
TEST(BackupCopies, NewestMadeFirstAndOnlyBackups) {
    ScratchFolder scratch;
    for (const char* name :
         {"z12345_07-12-26_2", "z12345_06-12-26", "andet.txt", "z12345_07-12-26"}) {
        scratch.writeFile(QString::fromLatin1(name), "A\r\nB\r\n");
        QThread::msleep(30);
    }
    // A copy that the system copied keeps the original's last-write time.
    QFile copied(scratch.filePath(QStringLiteral("z12345_07-12-26")));
    const QDateTime made = QFileInfo(copied).birthTime();
    ASSERT_TRUE(copied.open(QIODevice::ReadWrite));
    copied.setFileTime(QDateTime::currentDateTime().addDays(-30),
                       QFileDevice::FileModificationTime);
    copied.close();

    const Result<QList<BackupCopy>> listed = listBackupCopies(scratch.path());
    ASSERT_TRUE(listed.ok());
    QStringList names;
    for (const BackupCopy& copy : listed.value()) {
        names << copy.fileName;
        EXPECT_EQ(copy.lineCount, 2);
    }
    // Wine, for one, makes the time of making up from the last-write time.
    if (!made.isValid() || QFileInfo(copied).birthTime() != made)
        GTEST_SKIP() << "this file system keeps no time of making of its own: "
                     << names.join(' ').toStdString();
    EXPECT_EQ(names, QStringList({"z12345_07-12-26", "z12345_06-12-26", "z12345_07-12-26_2"}));
}

} // namespace
} // namespace dalvero::testing
