// Odd input, loaded, merged, written and read back through the real window:
// every byte of every record and tail field comes out where it belongs.
#include "reliability_scene.h"
#include "support/merge_input_generator.h"
#include "support/named_row.h"
#include "support/qt_printers.h"
#include "support/raw_bytes.h"
#include "support/reference_merge.h"

#include <gtest/gtest.h>

#include <optional>

namespace dalvero::testing {
namespace {

// Every byte value that can stand inside a line: all but CR.
QByteArray everyByteButCr() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r')
            bytes += static_cast<char>(b);
    }
    return bytes;
}

struct OddCase {
    const char* name;
    QByteArray exportBytes;
    std::optional<QByteArray> header; // none: the export header stays empty
    Lines records;                    // what the pigeon list must hold
    QByteArray unikonBytes;
    Lines oldLines; // what the old list must hold
};

const Lines kTwoRecords = {"DK-X07-1111F", "DK-X08-2222x"};
const Lines kOldLines = {" 0700DK-1111 abcdefghijk", " 0900DK-9999W99999999999"};

OddCase plain(const char* name, const QByteArray& exportBytes,
              const std::optional<QByteArray>& header, const Lines& records) {
    return {name, exportBytes, header, records, withCrLf(kOldLines), kOldLines};
}

OddCase nulBytes() {
    const Lines records = {raw("D\0-X0\0-1\0\0\0F\0tail"), raw("\0\0\0\0\0\0\0\0\0\0\0\0")};
    const Lines old = {keyOf(records[0]) + raw(" a\0b\0c\0d\0e\0"),
                       keyOf(records[1]) + raw("W\0\0\0\0\0\0\0\0\0\0\0"), raw("\0")};
    return {"NulBytes",      exportFile(raw("H\0vd"), raw("\0"), records),
            raw("H\0vd \0"), records,
            withCrLf(old),   old};
}

// 24 records whose keys, marker and later characters run through every byte
// value, each matched by an old line whose tail field carries on the run.
OddCase allByteValues() {
    const QByteArray all = everyByteButCr();
    const auto run = [&all](qsizetype from, qsizetype length) {
        QByteArray part;
        for (qsizetype i = 0; i < length; ++i)
            part += all[(from + i) % all.size()];
        return part;
    };
    Lines records;
    Lines old;
    for (int k = 0; k < 24; ++k) {
        records << run(k * 11, 16);
        old << keyOf(records.last()) + run(k * 13, 1) + run(k * 11 + 100, 11);
    }
    records << "DK-X07-1111F" + all;
    old << kOldLines[0] + all;
    return {"All256ByteValues", exportFile(all, all, records),
            all + " " + all,    records,
            withCrLf(old),      old};
}

OddCase oneMegabyteLine() {
    const QByteArray megabyte(1 << 20, 'm');
    const Lines records = {"DK-X07-1111F" + megabyte, kTwoRecords[1]};
    const Lines old = {kOldLines[0] + megabyte, megabyte};
    return {"OneMegabyteLine", exportFile(megabyte, "h2", records),
            megabyte + " h2",  records,
            withCrLf(old),     old};
}

class OddInputWindow : public ::testing::TestWithParam<OddCase> {};

TEST_P(OddInputWindow, LoadsMergesAndWritesEveryByte) {
    const OddCase& c = GetParam();
    ReliabilityScene scene;
    ASSERT_TRUE(scene.scratch.isValid());
    scene.exportBytes = c.exportBytes;
    scene.unikonBytes = c.unikonBytes;
    scene.build();
    const TreeSnapshot before = TreeSnapshot::of(scene.scratch.path());
    const WorkflowRun run = runWorkflowInChild(scene.workflow());
    ASSERT_TRUE(run.finished) << "the child died: " << run.ending;
    const WindowReport& report = run.report;
    ASSERT_TRUE(report.driverError.isEmpty()) << report.driverError.toStdString();
    EXPECT_TRUE(report.failures.isEmpty()) << report.failures.value(0).message();

    EXPECT_EQ(report.exportHeader, c.header.value_or(QByteArray()));
    EXPECT_EQ(report.oldList, c.oldLines);
    const Lines newLines =
        referenceMerge(c.records, std::vector<bool>(c.records.size(), true), c.oldLines);
    EXPECT_EQ(report.newList, newLines);
    EXPECT_EQ(report.newCount, QString::number(newLines.size()));
    // A written list ends the program, which empties the pigeon list first.
    if (newLines.isEmpty()) {
        EXPECT_EQ(report.pigeonList, c.records);
        EXPECT_EQ(report.endStatus, -1);
        EXPECT_FALSE(report.danFilEnabled);
    } else {
        EXPECT_EQ(report.endStatus, 0);
    }

    const TreeSnapshot expected =
        afterDanFil(before, scene.unikonFile(), scene.backupFile(scene.today),
                    newLines.isEmpty() ? std::nullopt : std::optional(withCrLf(newLines)));
    EXPECT_EQ(TreeSnapshot::of(scene.scratch.path()).differencesFrom(expected), "");
}

INSTANTIATE_TEST_SUITE_P(
    Window, OddInputWindow,
    ::testing::Values(plain("EmptyExportFile", "", std::nullopt, {}),
                      plain("HeaderOnly", "H1\r\nH2\r\n", "H1 H2", {}),
                      plain("HeaderWithoutLineEnd", "H1\r\nH2", "H1 H2", {}),
                      OddCase{"CrOnlyLineEnds", "H1\rH2\rxDK-X07-1111F\rxDK-X08-2222x\r", "H1 H2",
                              kTwoRecords, " 0700DK-1111 abcdefghijk\r 0900DK-9999W99999999999\r",
                              kOldLines},
                      OddCase{"LfOnlyLineEnds",
                              "H1\nH2\nxDK-X07-1111F\n",
                              "H1\nH2\nxDK-X07-1111F\n",
                              {},
                              " 0700DK-1111 abcdefghijk\n 0900DK-9999W99999999999\n",
                              {" 0700DK-1111 abcdefghijk\n 0900DK-9999W99999999999\n"}},
                      OddCase{"MixedLineEnds",
                              "H1\r\nH2\rxDK-X07-1111F\nxDK-X08-2222x\r\n",
                              "H1 H2",
                              {"DK-X07-1111F\nxDK-X08-2222x"},
                              " 0700DK-1111 abcdefghijk\r 0900DK-9999W99999999999\n\r\n",
                              {" 0700DK-1111 abcdefghijk", " 0900DK-9999W99999999999\n"}},
                      nulBytes(), allByteValues(), oneMegabyteLine()),
    rowName);

} // namespace
} // namespace dalvero::testing
