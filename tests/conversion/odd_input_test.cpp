#include "conversion/backup.h"
#include "conversion/export_file.h"
#include "conversion/guarded_rewrite.h"
#include "conversion/text_file.h"
#include "conversion/unikon_merge.h"
#include "support/merge_input_generator.h"
#include "support/named_row.h"
#include "support/raw_bytes.h"
#include "support/reference_merge.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace dalvero::testing {
namespace {

// Built only when the row runs: some rows are tens of megabytes.
struct OddCase {
    const char* name;
    std::function<QByteArray()> exportBytes;
    std::function<QByteArray()> unikonBytes;
    // The pigeon records the export file must give; absent when it holds
    // more pigeons than the list may, and loading must fail.
    std::function<std::optional<Lines>()> records;
    qsizetype unikonLines; // -1 when loading must fail
};

class OddInput : public ::testing::TestWithParam<OddCase> {};

TEST_P(OddInput, LoadsAndMergesEveryByte) {
    const OddCase& c = GetParam();
    ScratchFolder folder;
    const QString exportPath = folder.writeFile(QStringLiteral("eksport.txt"), c.exportBytes());
    const QString unikonPath = folder.writeFile(QStringLiteral("z12345"), c.unikonBytes());
    const std::optional<Lines> records = c.records();

    const auto loaded = dalvero::loadExportFile(exportPath, 0);
    ASSERT_EQ(loaded.ok(), records.has_value());
    const auto old = dalvero::readUnikonFile(unikonPath);
    ASSERT_EQ(old.ok(), c.unikonLines >= 0);
    if (!loaded.ok() || !old.ok())
        return;
    ASSERT_EQ(loaded.value().records.size(), records->size());
    EXPECT_TRUE(loaded.value().records == *records);
    EXPECT_EQ(old.value().lines.size(), c.unikonLines);

    const Lines& pigeons = loaded.value().records;
    const std::vector<bool> all(static_cast<size_t>(pigeons.size()), true);
    const auto merged = dalvero::mergeUnikon(pigeons, all, old.value().lines, unikonPath);
    ASSERT_TRUE(merged.ok()) << qPrintable(merged.failure().message());
    // The nested scan would take minutes on the largest rows.
    if (pigeons.size() * old.value().lines.size() < 20'000'000) {
        EXPECT_TRUE(merged.value().lines == referenceMerge(pigeons, all, old.value().lines));
    }

    ASSERT_TRUE(
        rewriteAsShown(unikonPath, dalvero::joinLines(merged.value().lines), folder.path()));
    const auto back = dalvero::readUnikonFile(unikonPath);
    ASSERT_TRUE(back.ok());
    EXPECT_TRUE(back.value().lines == merged.value().lines);
}

QByteArray allBytesBut(char left) {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != left)
            bytes += static_cast<char>(b);
    }
    return bytes;
}

std::function<QByteArray()> bytes(const QByteArray& contents) {
    return [contents] { return contents; };
}
std::function<std::optional<Lines>()> expect(const Lines& records) {
    return [records] { return std::optional<Lines>(records); };
}
std::optional<Lines> tooMany() {
    return std::nullopt;
}

const QByteArray kUnikon = " 0700DVK1234W11111111111\r\n 0800DVK2345 22222222222\r\n";

INSTANTIATE_TEST_SUITE_P(
    Odd, OddInput,
    ::testing::Values(
        OddCase{"EmptyFiles", bytes(""), bytes(""), expect({}), 0},
        OddCase{"HeaderOnly", bytes("H1\r\nH2\r\n"), bytes(kUnikon), expect({}), 2},
        OddCase{"CrOnlyLineEnds", bytes("H1\rH2\rxDVK 07 1234F\rxDVK 08 2345\r"),
                bytes(" 0700DVK1234W11111111111\r 0800DVK2345 22222222222\r"),
                expect({"DVK 07 1234F", "DVK 08 2345"}), 2},
        OddCase{"LfOnlyLineEnds", bytes("H1\nH2\nxDVK 07 1234F\n"),
                bytes(" 0700DVK1234W11111111111\n 0800DVK2345 22222222222\n"), expect({}), 1},
        OddCase{"MixedLineEnds", bytes("H1\r\nH2\rxDVK 07 1234F\nxDVK 08 2345\r\n"),
                bytes(" 0700DVK1234W11111111111\r 0800DVK2345 2222\n2222222\r\n"),
                expect({"DVK 07 1234F\nxDVK 08 2345"}), 2},
        OddCase{"NulBytes",
                bytes(raw("H\0\r\n\0\r\nx\0VK\0"
                          "07\0"
                          "1234F\0\r\n")),
                bytes(raw(" 0700\0VK1234W\0\0\0\0\0\0\0\0\0\0\0\r\n")),
                expect({raw("\0VK\0"
                            "07\0"
                            "1234F\0")}),
                1},
        OddCase{"All256ByteValues",
                [] {
                    return exportFileBytes({allBytesBut('\r'), "DVK 07 1234F" + allBytesBut('\r')});
                },
                [] { return " 0700DVK1234W" + allBytesBut('\r') + "\r\n" + allBytesBut('\r'); },
                expect({allBytesBut('\r'), "DVK 07 1234F" + allBytesBut('\r')}), 2},
        OddCase{"OneMegabyteLine",
                [] { return exportFileBytes({"DVK 07 1234F" + QByteArray(1 << 20, '\xe6')}); },
                [] { return " 0700DVK1234W" + QByteArray(1 << 20, '\xf8') + "\r\n"; },
                [] { return std::optional<Lines>({"DVK 07 1234F" + QByteArray(1 << 20, '\xe6')}); },
                1},
        OddCase{"FiftyMegabyteFile",
                [] {
                    Lines records = pigeonRecords(30000);
                    for (QByteArray& record : records)
                        record += QByteArray(1700, 'x');
                    return exportFileBytes(records);
                },
                [] { return dalvero::joinLines(unikonLines(30000)); },
                [] {
                    Lines records = pigeonRecords(30000);
                    for (QByteArray& record : records)
                        record += QByteArray(1700, 'x');
                    return std::optional<Lines>(records);
                },
                30000},
        OddCase{"AtTheListLimit", [] { return exportFileBytes(pigeonRecords(32767)); },
                [] { return dalvero::joinLines(unikonLines(32767)); },
                [] { return std::optional<Lines>(pigeonRecords(32767)); }, 32767},
        OddCase{"ExportPastTheListLimit", [] { return exportFileBytes(pigeonRecords(32768)); },
                bytes(kUnikon), tooMany, 2},
        OddCase{"UnikonPastTheListLimit", bytes("H1\r\nH2\r\nxDVK 07 1234F\r\n"),
                [] { return dalvero::joinLines(unikonLines(32768)); }, expect({"DVK 07 1234F"}),
                -1}),
    rowName);

// The limit counts the pigeons already listed from earlier loads too.
TEST(OddInput, SecondLoadPastTheListLimitAddsNothing) {
    ScratchFolder folder;
    const QString path =
        folder.writeFile(QStringLiteral("eksport.txt"), exportFileBytes(pigeonRecords(20000)));
    EXPECT_TRUE(dalvero::loadExportFile(path, 12767).ok());
    const auto second = dalvero::loadExportFile(path, 12768);
    ASSERT_FALSE(second.ok());
    EXPECT_EQ(second.failure().path, path);
}

struct NameCase {
    const char* name;
    QString folderName;
    QString fileName;
    Runs runs = Runs::Everywhere;
};

class OddName : public ::testing::TestWithParam<NameCase> {};

// Every step, from loading to the rewrite, on files and folders named oddly.
TEST_P(OddName, WholeRunWorks) {
    const NameCase& c = GetParam();
    ScratchFolder scratch;
    const QString base = scratch.makeFolder(c.folderName);
    scratch.makeFolder(c.folderName + '/' + kCopiesFolder);
    const QString exportPath = scratch.writeFile(c.folderName + "/" + c.fileName + ".txt",
                                                 "H1\r\nH2\r\nxDVK 07 1234F\r\n");
    const QString unikonPath = scratch.writeFile(c.folderName + "/" + c.fileName, kUnikon);
    ASSERT_EQ(dalvero::joinPath(base, c.fileName), unikonPath);

    const auto loaded = dalvero::loadExportFile(exportPath, 0);
    ASSERT_TRUE(loaded.ok()) << qPrintable(loaded.failure().message());
    const auto old = dalvero::readUnikonFile(unikonPath);
    ASSERT_TRUE(old.ok()) << qPrintable(old.failure().message());
    const auto merged =
        dalvero::mergeUnikon(loaded.value().records, {true}, old.value().lines, unikonPath);
    ASSERT_TRUE(merged.ok());
    const auto written =
        dalvero::rewriteGuarded({unikonPath,
                                 kUnikon,
                                 dalvero::backupPath(base, c.fileName, QStringLiteral("7/12 2026")),
                                 dalvero::joinLines(merged.value().lines),
                                 {}});
    ASSERT_TRUE(written.ok()) << qPrintable(written.failure().message());
    EXPECT_EQ(written.value().backup,
              scratch.filePath(c.folderName + '/' + copyPath(c.fileName + "_7-12 2026")));
    EXPECT_EQ(fileBytes(written.value().backup), kUnikon);
    EXPECT_EQ(fileBytes(unikonPath), " 0700DVK1234W11111111111\r\n");
}

INSTANTIATE_TEST_SUITE_P(Odd, OddName,
                         ::testing::ValuesIn(onThisPlatform<NameCase>(
                             {{"Spaces", "mine duer", "z 12345"},
                              linuxOnly(NameCase{"Quotes", "\"duer\" 'x'", "z\"1'2"}),
                              NameCase{"DanishLetters", "Brevduer æøå ÆØÅ", "zæøå"},
                              NameCase{"OtherScripts", "голуби 鸽子", "ü€"},
                              NameCase{"LeadingDash", "-mappe", "-z12345"},
                              NameCase{"LeadingDashesOnly", "--", "-"},
                              linuxOnly(NameCase{"ShellCharacters", "a;b&c$(d)", "*?[x]`e`"})})),
                         rowName);

} // namespace
} // namespace dalvero::testing
