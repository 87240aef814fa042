// One input holds an export file and a UNIKON file. Both are read as the
// program reads them, merged both ways, and the new list is written and read
// back; any difference is a finding.
#include "export_file.h"
#include "reference_merge.h"
#include "text_file.h"
#include "unikon_merge.h"
#include "year_list.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
QString scratchFile(const QString& name) {
    static QTemporaryDir folder(QDir("/dev/shm").exists()
                                    ? QStringLiteral("/dev/shm/dalvero-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/dalvero-fuzz-XXXXXX"));
    return folder.filePath(name);
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
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
    check(!dalvero::writeLinesWhole(path, merged.value().lines), "the new list was not written");
    const dalvero::Result<dalvero::Lines> back = dalvero::readLines(path, QStringLiteral("læs"));
    check(back.ok() && back.value() == merged.value().lines,
          "the written list reads back different");
    return 0;
}
