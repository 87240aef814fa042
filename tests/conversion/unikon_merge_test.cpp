#include "conversion/merge_marks.h"
#include "conversion/unikon_merge.h"
#include "support/merge_input_generator.h"
#include "support/named_row.h"
#include "support/raw_bytes.h"
#include "support/reference_merge.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace dalvero::testing {
namespace {

struct KeyCase {
    const char* name;
    QByteArray record;
    QByteArray key;
    char flag;
};

class MatchKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(MatchKey, BuiltFromRecordPositions) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(dalvero::matchKey(c.record), c.key);
    EXPECT_EQ(dalvero::flagCharacter(c.record), c.flag);
    EXPECT_EQ(dalvero::lineHead(c.record), c.key + c.flag);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, MatchKey,
    ::testing::Values(KeyCase{"Example", "ABCDEFGHIJKF", " EF00ABCHIJK", 'W'},
                      KeyCase{"MarkerNotF", "ABCDEFGHIJKX", " EF00ABCHIJK", ' '},
                      KeyCase{"LowerCaseF", "ABCDEFGHIJKf", " EF00ABCHIJK", ' '},
                      KeyCase{"ElevenCharacters", "ABCDEFGHIJK", " EF00ABCHIJK", ' '},
                      KeyCase{"LongRecordRestIgnored", "ABCDEFGHIJKFxyz", " EF00ABCHIJK", 'W'},
                      KeyCase{"EightCharacters", "ABCDEFGH", " EF00ABCH", ' '},
                      KeyCase{"FiveCharacters", "ABCDE", " E00ABC", ' '},
                      KeyCase{"TwoCharacters", "AB", " 00AB", ' '},
                      KeyCase{"EmptyRecord", "", " 00", ' '},
                      KeyCase{"PositionsFourAndSevenUnused", "ABC?EF?HIJK", " EF00ABCHIJK", ' '}),
    rowName);

struct MergeCase {
    const char* name;
    Lines records;
    std::vector<bool> selected;
    Lines oldLines;
    Lines expected;
};

class Merge : public ::testing::TestWithParam<MergeCase> {};

TEST_P(Merge, BuildsTheNewList) {
    const MergeCase& c = GetParam();
    const auto merged = dalvero::mergeUnikon(c.records, c.selected, c.oldLines, "/u/z12345");
    ASSERT_TRUE(merged.ok()) << qPrintable(merged.failure().message());
    EXPECT_EQ(merged.value().lines, c.expected);
    EXPECT_EQ(referenceMerge(c.records, c.selected, c.oldLines), c.expected);
}

const QByteArray kRecord = "ABCDEFGHIJKF";
const QByteArray kKey = " EF00ABCHIJK";

INSTANTIATE_TEST_SUITE_P(
    Rule, Merge,
    ::testing::Values(
        MergeCase{
            "TailCarriedOver", {kRecord}, {true}, {kKey + "Wpqrstuvwxyz"}, {kKey + "Wpqrstuvwxyz"}},
        MergeCase{"NotFoundGetsZeros",
                  {kRecord},
                  {true},
                  {" EF00ABCHIJX pqrstuvwxyz"},
                  {kKey + "W00000000000"}},
        MergeCase{"EmptyUnikonFile",
                  {kRecord, "ABCDXYGHIJK"},
                  {true, true},
                  {},
                  {kKey + "W00000000000", " XY00ABCHIJK 00000000000"}},
        MergeCase{"NothingSelected", {kRecord}, {false}, {kKey + "Wpqrstuvwxyz"}, {}},
        MergeCase{"NoPigeons", {}, {}, {kKey + "Wpqrstuvwxyz"}, {}},
        MergeCase{"UnselectedSkipped",
                  {kRecord, "ABCDXYGHIJK"},
                  {false, true},
                  {},
                  {" XY00ABCHIJK 00000000000"}},
        MergeCase{"FlagFromRecordNotOldLine",
                  {"ABCDEFGHIJKX"},
                  {true},
                  {kKey + "Wpqrstuvwxyz"},
                  {kKey + " pqrstuvwxyz"}},
        MergeCase{"OldLineOf20", {kRecord}, {true}, {kKey + "Wpqrstu"}, {kKey + "Wpqrstu"}},
        MergeCase{"OldLineOf13", {kRecord}, {true}, {kKey + " "}, {kKey + "W"}},
        MergeCase{"OldLineOf12", {kRecord}, {true}, {kKey}, {kKey + "W"}},
        MergeCase{
            "OldLineOf11NoMatch", {kRecord}, {true}, {kKey.left(11)}, {kKey + "W00000000000"}},
        MergeCase{"OverlongOldLineCut",
                  {kRecord},
                  {true},
                  {kKey + "Wpqrstuvwxyz0123456789"},
                  {kKey + "Wpqrstuvwxyz"}},
        MergeCase{"EmptyOldLineNeverMatches", {kRecord}, {true}, {""}, {kKey + "W00000000000"}},
        MergeCase{"TwoOldLinesShareKey",
                  {kRecord},
                  {true},
                  {kKey + "W11111111111", " XX00ABCHIJK 22222222222", kKey + " 33333333333"},
                  {kKey + "W11111111111", kKey + "W33333333333"}},
        MergeCase{"TwoPigeonsShareKey",
                  {kRecord, "ABC!EF!HIJK-more"},
                  {true, true},
                  {kKey + "W11111111111"},
                  {kKey + "W11111111111", kKey + " 11111111111"}},
        MergeCase{"SamePigeonTwiceTimesTwoLines",
                  {kRecord, kRecord},
                  {true, true},
                  {kKey + "W11111111111", kKey + "W22222222222"},
                  {kKey + "W11111111111", kKey + "W22222222222", kKey + "W11111111111",
                   kKey + "W22222222222"}},
        MergeCase{"PigeonListOrderThenFileOrder",
                  {"ABCDXYGHIJK", kRecord},
                  {true, true},
                  {kKey + "W11111111111", " XY00ABCHIJK 22222222222"},
                  {" XY00ABCHIJK 22222222222", kKey + "W11111111111"}},
        MergeCase{"CaseSensitiveKey",
                  {"abcDEFGHIJKF"},
                  {true},
                  {kKey + "W11111111111"},
                  {" EF00abcHIJKW00000000000"}},
        MergeCase{"ShortRecordMatchesExactLineOnly",
                  {"ABCDE"},
                  {true},
                  {" E00ABC", " E00ABC 11111111111", " E00ABCD"},
                  {" E00ABC "}},
        MergeCase{"EmptyRecordMatchesExactLineOnly", {""}, {true}, {" 00", " 00 1"}, {" 00 "}},
        MergeCase{"AllBytesInTailCarried",
                  {kRecord},
                  {true},
                  {kKey + raw("W\0\x01\n\x7f\x80\xe6\xf8\xe5\xfe\xff\tZ")},
                  {kKey + raw("W\0\x01\n\x7f\x80\xe6\xf8\xe5\xfe\xff\t")}}),
    rowName);

struct MarkCase {
    const char* name;
    Lines records;
    std::vector<bool> selected;
    Lines oldLines;
    // One letter per line: N new, D doubled, L leaving, . nothing to notice.
    const char* newMarks;
    const char* oldMarks;
    QMap<qsizetype, qsizetype> pigeonsByLines;
};

QByteArray letters(const std::vector<dalvero::LineMark>& marks) {
    QByteArray text;
    for (const dalvero::LineMark mark : marks)
        text += ".NDL"[static_cast<int>(mark)];
    return text;
}

class MergeMarks : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MergeMarks, FollowWhereEachLineCameFrom) {
    const MarkCase& c = GetParam();
    const auto merged = dalvero::mergeUnikon(c.records, c.selected, c.oldLines, "/u/z12345");
    ASSERT_TRUE(merged.ok());
    const dalvero::MergeMarks marks = dalvero::markMerge(merged.value().sources, c.oldLines.size());
    EXPECT_EQ(letters(marks.newLines), QByteArray(c.newMarks));
    EXPECT_EQ(letters(marks.oldLines), QByteArray(c.oldMarks));
    EXPECT_EQ(marks.added, QByteArray(c.newMarks).count('N'));
    EXPECT_EQ(marks.fromOldFile, merged.value().lines.size() - marks.added);
    EXPECT_EQ(marks.leaving, QByteArray(c.oldMarks).count('L'));
    EXPECT_EQ(marks.pigeonsByLines, c.pigeonsByLines);
}

const QByteArray kOther = "ABCDXYGHIJK";
const QByteArray kOtherKey = " XY00ABCHIJK";

INSTANTIATE_TEST_SUITE_P(
    Rule, MergeMarks,
    ::testing::Values(
        MarkCase{"Carried", {kRecord}, {true}, {kKey + "W11111111111"}, ".", ".", {}},
        MarkCase{"NewPigeon", {kRecord, kOther}, {true, true}, {kKey + "W1"}, ".N", ".", {}},
        MarkCase{
            "OldTailOfZerosIsNotNew", {kRecord}, {true}, {kKey + "W00000000000"}, ".", ".", {}},
        MarkCase{"Leaving", {kRecord}, {true}, {kOtherKey + " 2", kKey + "W1"}, ".", "L.", {}},
        MarkCase{"DeselectedPigeonLeaves",
                 {kRecord, kOther},
                 {true, false},
                 {kKey + "W1", kOtherKey + " 2"},
                 ".",
                 ".L",
                 {}},
        MarkCase{"DoubledOnEveryLine",
                 {kOther, kRecord},
                 {true, true},
                 {kKey + "W1", kOtherKey + " 2", kKey + "W3"},
                 ".DD",
                 "...",
                 {{2, 1}}},
        MarkCase{"TwoDoubledPigeonsSideBySide",
                 {kRecord, kOther},
                 {true, true},
                 {kKey + "W1", kOtherKey + " 2", kKey + "W3", kOtherKey + " 4", kOtherKey + " 5"},
                 "DDDDD",
                 ".....",
                 {{2, 1}, {3, 1}}},
        MarkCase{"SamePigeonListedTwiceIsNotDoubled",
                 {kRecord, kRecord},
                 {true, true},
                 {kKey + "W1"},
                 "..",
                 ".",
                 {}},
        MarkCase{"EmptyOldFile", {kRecord}, {true}, {}, "N", "", {}},
        MarkCase{"NothingSelected", {kRecord}, {false}, {kKey + "W1"}, "", "L", {}}),
    rowName);

// The indexed merge against the plain nested scan on inputs made to trip it.
TEST(Merge, IndexedEqualsNestedScanOnGeneratedInputs) {
    MergeInputGenerator generator(20261207);
    int compared = 0;
    for (int round = 0; round < 3000; ++round) {
        const int pigeons = round % 500 == 0 ? 2000 : 1 + round % 37;
        const int oldLines = round % 500 == 0 ? 3000 : round % 41;
        const MergeInput input = generator.next(pigeons, oldLines);
        const auto merged = dalvero::mergeUnikon(input.records, input.selected, input.oldLines, "");
        ASSERT_TRUE(merged.ok());
        QList<dalvero::LineSource> sources;
        ASSERT_EQ(merged.value().lines,
                  referenceMerge(input.records, input.selected, input.oldLines, &sources))
            << "round " << round;
        ASSERT_EQ(merged.value().sources, sources) << "round " << round;
        compared += pigeons;
    }
    EXPECT_GT(compared, 60000);
}

struct LimitCase {
    const char* name;
    int pigeons;
    int linesPerKey;
    bool fits;
};

class MergeLimit : public ::testing::TestWithParam<LimitCase> {};

// A new list that would pass the list limit is refused as a whole.
TEST_P(MergeLimit, StopsBeforePassingTheLimit) {
    const LimitCase& c = GetParam();
    const Lines records(c.pigeons, kRecord);
    const Lines oldLines(c.linesPerKey, kKey + "W11111111111");
    const auto merged = dalvero::mergeUnikon(records, std::vector<bool>(records.size(), true),
                                             oldLines, "/u/z12345");
    ASSERT_EQ(merged.ok(), c.fits);
    if (c.fits) {
        EXPECT_EQ(merged.value().lines.size(), c.pigeons * std::max(1, c.linesPerKey));
    } else {
        EXPECT_EQ(merged.failure().path, QStringLiteral("/u/z12345"));
        EXPECT_FALSE(merged.failure().what.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Limit, MergeLimit,
                         ::testing::Values(LimitCase{"ExactlyFullNoHits", 32767, 0, true},
                                           LimitCase{"OnePastNoHits", 32768, 0, false},
                                           LimitCase{"ExactlyFullByHits", 1, 32767, true},
                                           LimitCase{"PastByDuplicateHits", 2, 16384, false},
                                           LimitCase{"FarPast", 300, 300, false}),
                         rowName);

struct UnikonFileCase {
    const char* name;
    int lines;
    bool fits;
};

class UnikonLoading : public ::testing::TestWithParam<UnikonFileCase> {};

TEST_P(UnikonLoading, ReadsEveryLineUpToTheLimit) {
    const UnikonFileCase& c = GetParam();
    ScratchFolder folder;
    const Lines lines = unikonLines(c.lines);
    const QString path = folder.writeFile(QStringLiteral("z12345"), dalvero::joinLines(lines));
    const auto loaded = dalvero::readUnikonFile(path);
    ASSERT_EQ(loaded.ok(), c.fits);
    if (c.fits) {
        EXPECT_EQ(loaded.value().lines, lines);
    } else {
        EXPECT_EQ(loaded.failure().path, path);
    }
}

INSTANTIATE_TEST_SUITE_P(Limit, UnikonLoading,
                         ::testing::Values(UnikonFileCase{"EmptyFile", 0, true},
                                           UnikonFileCase{"ExactlyFull", 32767, true},
                                           UnikonFileCase{"OnePast", 32768, false}),
                         rowName);

} // namespace
} // namespace dalvero::testing
