#include "conversion/text_rules.h"
#include "support/named_row.h"
#include "support/raw_bytes.h"

#include <gtest/gtest.h>

namespace dalvero::testing {
namespace {

struct SplitCase {
    const char* name;
    QByteArray contents;
    Lines expected;
};

class LineSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitting, EndsLinesAtCrLfOrLoneCr) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(dalvero::splitLines(c.contents), c.expected);
}

QByteArray withNul(const char* text, qsizetype size) {
    return QByteArray(text, size);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, LineSplitting,
    ::testing::Values(
        SplitCase{"EmptyFile", "", {}}, SplitCase{"OneLineNoEnd", "abc", {"abc"}},
        SplitCase{"OneLineCrLf", "abc\r\n", {"abc"}}, SplitCase{"OneLineLoneCr", "abc\r", {"abc"}},
        SplitCase{"CrLfLines", "a\r\nb\r\nc", {"a", "b", "c"}},
        SplitCase{"CrOnlyLines", "a\rb\rc\r", {"a", "b", "c"}},
        SplitCase{"LfOnlyIsOneLine", "a\nb\nc\n", {"a\nb\nc\n"}},
        SplitCase{"MixedEnds", "a\r\nb\rc\nd\r\n", {"a", "b", "c\nd"}},
        SplitCase{"LfBeforeCr", "a\n\rb", {"a\n", "b"}},
        SplitCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
        SplitCase{"EmptyLineInside", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        SplitCase{"SecondCrLfAtEndIsEmptyLine", "a\r\n\r\n", {"a", ""}},
        SplitCase{"OnlyCrLf", "\r\n", {""}}, SplitCase{"OnlyLoneCr", "\r", {""}},
        SplitCase{"OnlyLf", "\n", {"\n"}},
        SplitCase{"NothingTrimmed", "  a \t\r\n\tb  ", {"  a \t", "\tb  "}},
        SplitCase{
            "NulBytesKept", withNul("a\0b\r\n\0\r\n", 8), {withNul("a\0b", 3), withNul("\0", 1)}},
        SplitCase{"CtrlZIsOrdinary", "a\x1a\r\nb", {"a\x1a", "b"}},
        SplitCase{"HighBytesKept", "\xe6\xf8\xe5\r\n\xff\x80", {"\xe6\xf8\xe5", "\xff\x80"}}),
    rowName);

TEST(LineSplitting, AllByteValuesOnlyCrSplits) {
    QByteArray contents;
    for (int b = 0; b < 256; ++b)
        contents += static_cast<char>(b);
    const Lines lines = dalvero::splitLines(contents);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], contents.left('\r'));
    EXPECT_EQ(lines[1], contents.mid('\r' + 1));
}

struct JoinCase {
    const char* name;
    Lines lines;
    QByteArray expected;
};

class LineJoining : public ::testing::TestWithParam<JoinCase> {};

TEST_P(LineJoining, EndsEveryLineInCrLf) {
    const JoinCase& c = GetParam();
    EXPECT_EQ(dalvero::joinLines(c.lines), c.expected);
    // What is written reads back as the same lines.
    EXPECT_EQ(dalvero::splitLines(dalvero::joinLines(c.lines)), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, LineJoining,
    ::testing::Values(JoinCase{"NoLines", {}, ""}, JoinCase{"OneLine", {"abc"}, "abc\r\n"},
                      JoinCase{"EmptyLine", {""}, "\r\n"},
                      JoinCase{"EmptyLinesInside", {"a", "", "b", ""}, "a\r\n\r\nb\r\n\r\n"},
                      JoinCase{"LfKept", {"a\nb"}, "a\nb\r\n"},
                      JoinCase{
                          "HighAndNulBytes", {raw("\0\xff"), "\xe6"}, raw("\0\xff\r\n\xe6\r\n")}),
    rowName);

} // namespace
} // namespace dalvero::testing
