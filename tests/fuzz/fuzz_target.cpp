// One input holds an export file and a UNIKON file. Both are read as the
// program reads them, merged both ways, and the new list is written as both
// programs rewrite a file and read back; any difference is a finding. Its
// lines are also read as backup copies' names, as the restore window lists
// them.
#include "conversion/backup.h"
#include "conversion/backup_copies.h"
#include "conversion/export_file.h"
#include "conversion/guarded_rewrite.h"
#include "conversion/text_file.h"
#include "conversion/unikon_merge.h"
#include "conversion/year_list.h"
#include "support/reference_merge.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// The export part ends at the first NUL NUL pair; the byte after it picks
// the selection, the rest is the UNIKON file.
const QByteArray kSeparator("\0\0", 2);

[[noreturn]] void finding(const char* what) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

void check(bool holds, const char* what) {
    if (!holds)
        finding(what);
}

// Memory-backed when there is one, so that fsync costs nothing.
const QTemporaryDir& scratch() {
    static QTemporaryDir folder(QDir("/dev/shm").exists()
                                    ? QStringLiteral("/dev/shm/dalvero-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/dalvero-fuzz-XXXXXX"));
    return folder;
}

QString scratchFile(const QString& name) {
    return scratch().filePath(name);
}

// The export file as the program loads it, from a file on disk; absent when
// it holds more pigeons than the list may.
std::optional<dalvero::ExportFile> loadFromDisk(const QByteArray& contents,
                                                const dalvero::ExportFile& inMemory) {
    const QString path = scratchFile(QStringLiteral("eksport.txt"));
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(contents) == contents.size(),
          "the scratch export file could not be written");
    file.close();
    const dalvero::Result<dalvero::ExportFile> loaded = dalvero::loadExportFile(path, 0);
    const bool fits = inMemory.records.size() <= dalvero::kMaxListEntries;
    check(loaded.ok() == fits, "the list limit was not kept when loading");
    if (!loaded.ok())
        return std::nullopt;
    check(loaded.value().header == inMemory.header, "the header differs when read from disk");
    check(loaded.value().records == inMemory.records, "the pigeons differ when read from disk");
    return loaded.value();
}

std::vector<bool> selection(const dalvero::Lines& records, char how) {
    switch (static_cast<unsigned char>(how) % 3) {
    case 0:
        return std::vector<bool>(static_cast<size_t>(records.size()), true);
    case 1: // a year pick, by the year code of the first pigeon
        return dalvero::selectionAfterYearPick(
            records, records.isEmpty() ? QByteArray() : dalvero::yearCode(records.first()));
    default: { // every other pigeon
        std::vector<bool> flags;
        for (qsizetype i = 0; i < records.size(); ++i)
            flags.push_back(i % 2 == 0);
        return flags;
    }
    }
}

void checkYearList(const dalvero::Lines& records) {
    const dalvero::Lines codes = dalvero::newYearCodes({}, records);
    for (qsizetype i = 0; i < codes.size(); ++i) {
        for (qsizetype k = 0; k < i; ++k)
            check(codes[k] != codes[i], "a year code listed twice");
    }
    for (const QByteArray& record : records)
        check(codes.contains(dalvero::yearCode(record)), "a year code missing");
    check(dalvero::newYearCodes(codes, records).isEmpty(), "a second load added year codes");
}

// The short date forms users have, two-digit years among them.
const QList<QLocale>& dateForms() {
    static const QList<QLocale> forms = [] {
        QList<QLocale> all;
        for (const char* name : {"da_DK", "en_US", "de_DE", "sv_SE", "en_GB", "nl_NL", "fi_FI"})
            all << QLocale(QString::fromLatin1(name));
        return all;
    }();
    return forms;
}

// How new a copy is: its day, then its number within the day.
std::pair<QDate, int> newness(const dalvero::BackupCopy& copy) {
    const bool dated = copy.name.date.isValid();
    return {dated ? copy.name.date : copy.fileTime.date(), dated ? copy.name.number : 0};
}

// Each line is taken as a name as it stands, after a UNIKON name, and, from
// its first bytes, as the name of a copy made on a day within 49 years of
// today, with or without its number. They are ordered as the restore window
// lists them.
void checkCopyNames(const QByteArray& input) {
    const QList<QLocale>& forms = dateForms();
    const QLocale& locale = forms[input.isEmpty() ? 0 : uchar(input[0]) % forms.size()];
    QList<dalvero::BackupCopy> copies;
    QStringList names;
    const auto add = [&](const QString& name, const QDateTime& time) {
        const std::optional<dalvero::CopyName> parsed = dalvero::parseCopyName(name, locale);
        if (!parsed)
            return;
        const QString number = parsed->number > 1 ? QStringLiteral("_%1").arg(parsed->number) : "";
        check(parsed->unikonName + QLatin1Char('_') + parsed->dateText + number == name,
              "a copy's name reads as another name");
        if (!names.contains(name) && copies.size() < 24) {
            names << name;
            copies << dalvero::BackupCopy{name, name, *parsed, time, {}};
        }
    };
    for (const QByteArray& line : input.split('\n').mid(0, 12)) {
        const QDateTime time = line.size() < 4
                                   ? QDateTime()
                                   : QDateTime::fromSecsSinceEpoch(
                                         qFromLittleEndian<qint32>(line.constData()), Qt::UTC);
        add(QString::fromUtf8(line), time);
        add(QStringLiteral("z12345_") + QString::fromLatin1(line), time);
        if (line.size() < 3)
            continue;
        const int days = (uchar(line[0]) << 8 | uchar(line[1])) % (2 * 49 * 365) - 49 * 365;
        const QDate day = QDate::currentDate().addDays(days);
        const int number = std::max(1, uchar(line[2]) % 12);
        const QString name = QStringLiteral("z12345_") +
                             dalvero::fileNameSafe(dalvero::shortDateText(day, locale)) +
                             (number > 1 ? QStringLiteral("_%1").arg(number) : "");
        const std::optional<dalvero::CopyName> parsed = dalvero::parseCopyName(name, locale);
        check(parsed && parsed->unikonName == "z12345" && parsed->date == day &&
                  parsed->number == number,
              "a copy's day or number reads back wrong");
        add(name, time);
    }
    std::sort(copies.begin(), copies.end(), dalvero::newerFirst);
    for (qsizetype i = 0; i < copies.size(); ++i) {
        check(!dalvero::newerFirst(copies[i], copies[i]), "a copy is newer than itself");
        for (qsizetype k = i + 1; k < copies.size(); ++k) {
            check(dalvero::newerFirst(copies[i], copies[k]) &&
                      !dalvero::newerFirst(copies[k], copies[i]),
                  "the copies are in no total order");
            check(!(newness(copies[i]) < newness(copies[k])), "an older copy is listed first");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkCopyNames(input);
    const qsizetype split = input.indexOf(kSeparator);
    const QByteArray exportBytes = split < 0 ? input : input.left(split);
    const QByteArray rest = split < 0 ? QByteArray() : input.mid(split + 2);
    const char how = rest.isEmpty() ? '\0' : rest[0];
    const QByteArray unikonBytes = rest.mid(1);

    const dalvero::Lines exportLines = dalvero::splitLines(exportBytes);
    check(dalvero::splitLines(dalvero::joinLines(exportLines)) == exportLines,
          "lines read do not read back the same after writing");
    const std::optional<dalvero::ExportFile> loaded =
        loadFromDisk(exportBytes, dalvero::parseExport(exportLines));
    if (!loaded)
        return 0;
    const dalvero::ExportFile& parsed = *loaded;
    check(parsed.records.size() <= std::max<qsizetype>(0, exportLines.size() - 2),
          "more pigeons than pigeon lines");
    checkYearList(parsed.records);

    const dalvero::Lines oldLines = dalvero::splitLines(unikonBytes);
    const std::vector<bool> selected = selection(parsed.records, how);
    const dalvero::Result<dalvero::MergedUnikon> merged =
        dalvero::mergeUnikon(parsed.records, selected, oldLines, QStringLiteral("z12345"));
    QList<dalvero::LineSource> referenceSources;
    const dalvero::Lines reference =
        dalvero::testing::referenceMerge(parsed.records, selected, oldLines, &referenceSources);
    if (!merged.ok()) {
        check(reference.size() > dalvero::kMaxListEntries, "the merge failed within the limit");
        return 0;
    }
    check(merged.value().lines == reference, "the indexed merge differs from the nested scan");
    check(merged.value().sources == referenceSources,
          "the merge names other old lines than the nested scan");

    const QString path = scratchFile(QStringLiteral("z12345"));
    // As it was read and shown; a file that is not there yet is made.
    const dalvero::Result<QByteArray> shown = dalvero::readWhole(path, QString());
    QDir(scratch().path()).mkdir(dalvero::kBackupFolderName);
    const dalvero::Result<dalvero::Rewritten> written = dalvero::rewriteGuarded(
        {path,
         shown ? std::optional(shown.value()) : std::nullopt,
         dalvero::backupPath(scratch().path(), QStringLiteral("z12345"), QStringLiteral("7-12-26")),
         dalvero::joinLines(merged.value().lines),
         {}});
    check(written.ok(), "the new list was not written");
    if (shown) {
        const dalvero::Result<QByteArray> backup = dalvero::readWhole(written.value().backup, {});
        check(backup && backup.value() == shown.value(), "the backup is not the file as it was");
        QFile::remove(written.value().backup);
    }
    const dalvero::Result<dalvero::Lines> back = dalvero::readLines(path, QStringLiteral("læs"));
    check(back.ok() && back.value() == merged.value().lines,
          "the written list reads back different");
    return 0;
}
