#include "conversion/year_list.h"
#include "support/named_row.h"
#include "support/raw_bytes.h"

#include <gtest/gtest.h>

namespace dalvero::testing {
namespace {

struct NewCodesCase {
    const char* name;
    Lines listed;
    Lines records;
    Lines expected;
};

class YearList : public ::testing::TestWithParam<NewCodesCase> {};

TEST_P(YearList, AddsEachMissingCodeOnceInFirstSeenOrder) {
    const NewCodesCase& c = GetParam();
    EXPECT_EQ(dalvero::newYearCodes(c.listed, c.records), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, YearList,
    ::testing::Values(
        NewCodesCase{"NoRecords", {}, {}, {}},
        NewCodesCase{"FirstSeenOrder",
                     {},
                     {"DVK 07 1", "DVK 08 2", "DVK 07 3", "DVK 09 4"},
                     {"07", "08", "09"}},
        NewCodesCase{
            "AlreadyListedSkipped", {"08"}, {"DVK 07", "DVK 08 2", "DVK 09 4"}, {"07", "09"}},
        NewCodesCase{"SecondLoadAddsNothing", {"07", "08"}, {"DVK 07 1", "DVK 08 2"}, {}},
        NewCodesCase{"CaseDiffers", {}, {"DVK O7 1", "DVK o7 2"}, {"O7", "o7"}},
        NewCodesCase{
            "BlankDiffersFromDigit", {}, {"DVK 07 1", "DVK  7 2", "DVK 7  3"}, {"07", " 7", "7 "}},
        NewCodesCase{"ShortRecordsGiveEmptyCode", {}, {"", "DV", "DVK ", "DVK 0"}, {"", "0"}},
        NewCodesCase{"EmptyCodeAlreadyListed", {""}, {"DV"}, {}},
        NewCodesCase{"NulInCode", {}, {raw("DVK \0\0 1"), "DVK 00"}, {raw("\0\0"), "00"}}),
    rowName);

// Thousands of distinct codes (the whole two-byte range) each come out once.
TEST(YearList, ManyDistinctCodes) {
    Lines records;
    for (int code = 0; code < 65536; ++code) {
        const char high = static_cast<char>(code >> 8);
        const char low = static_cast<char>(code & 0xff);
        records.append(QByteArray("DVK ") + high + low + " 1");
        records.append(QByteArray("XYZ ") + high + low);
    }
    const Lines codes = dalvero::newYearCodes({}, records);
    ASSERT_EQ(codes.size(), 65536);
    for (int code = 0; code < 65536; ++code)
        ASSERT_EQ(codes[code], (QByteArray() + char(code >> 8) + char(code & 0xff)));
}

struct PickCase {
    const char* name;
    Lines records;
    QByteArray picked;
    std::vector<bool> selected;
};

class YearPick : public ::testing::TestWithParam<PickCase> {};

TEST_P(YearPick, DeselectsExactlyThePickedYear) {
    const PickCase& c = GetParam();
    EXPECT_EQ(dalvero::selectionAfterYearPick(c.records, c.picked), c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, YearPick,
    ::testing::Values(
        PickCase{"EmptyList", {}, "07", {}},
        PickCase{"Picked07",
                 {"DVK 07 1", "DVK 08 2", "DVK 07 3", "DVK 09 4"},
                 "07",
                 {false, true, false, true}},
        PickCase{"Picked08",
                 {"DVK 07 1", "DVK 08 2", "DVK 07 3", "DVK 09 4"},
                 "08",
                 {true, false, true, true}},
        PickCase{"UnknownCodeSelectsAll", {"DVK 07 1", "DVK 08 2"}, "10", {true, true}},
        PickCase{"CaseSensitive", {"DVK O7 1", "DVK o7 2"}, "o7", {true, false}},
        PickCase{"EmptyCodePicksShortRecords",
                 {"", "DVK ", "DVK 07", "DVK "},
                 "",
                 {false, false, true, false}},
        PickCase{"OneCharacterCode", {"DVK 0", "DVK 07 1"}, "0", {false, true}},
        PickCase{"NoPrefixMatch", {"DVK 07 1"}, "0", {true}},
        PickCase{"DuplicatesFollowTheSameRule", {"DVK 07 1", "DVK 07 1"}, "07", {false, false}}),
    rowName);

} // namespace
} // namespace dalvero::testing
