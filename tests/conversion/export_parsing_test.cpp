#include "conversion/export_file.h"
#include "support/named_row.h"
#include "support/raw_bytes.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace dalvero::testing {
namespace {

struct ExportCase {
    const char* name;
    QByteArray contents;
    std::optional<QByteArray> header;
    Lines records;
};

class ExportParsing : public ::testing::TestWithParam<ExportCase> {};

// Read from a real file, so that the whole loader, line reading included,
// is under test.
TEST_P(ExportParsing, GivesHeaderAndRecords) {
    const ExportCase& c = GetParam();
    ScratchFolder folder;
    const QString path = folder.writeFile(QStringLiteral("eksport.txt"), c.contents);
    const dalvero::Result<dalvero::ExportFile> loaded = dalvero::loadExportFile(path, 0);
    ASSERT_TRUE(loaded.ok()) << qPrintable(loaded.failure().message());
    EXPECT_EQ(loaded.value().header, c.header);
    EXPECT_EQ(loaded.value().records, c.records);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ExportParsing,
    ::testing::Values(
        // An empty file leaves the header shown before, and adds nothing.
        ExportCase{"EmptyFile", "", std::nullopt, {}},
        ExportCase{"OneLine", "Hoved\r\n", "Hoved", {}},
        ExportCase{"OneLineNoEnd", "Hoved", "Hoved", {}},
        ExportCase{"HeaderOnly", "Hoved\r\nMedlem 7\r\n", "Hoved Medlem 7", {}},
        ExportCase{"HeaderOnlyEmptyLines", "\r\n\r\n", " ", {}},
        ExportCase{"OnePigeon", "H1\r\nH2\r\nxABCDEFGHIJKF\r\n", "H1 H2", {"ABCDEFGHIJKF"}},
        ExportCase{"LastLineWithoutEnd", "H1\r\nH2\r\nxA\r\nxB", "H1 H2", {"A", "B"}},
        ExportCase{
            "FirstCharacterAlwaysDropped", "H1\r\nH2\r\n1234\r\nF07\r\n", "H1 H2", {"234", "07"}},
        // An empty line after the header holds no pigeon, also at the end.
        ExportCase{
            "EmptyLineAddsNoPigeon", "H1\r\nH2\r\n\r\nxA\r\n\r\nxB\r\n\r\n", "H1 H2", {"A", "B"}},
        ExportCase{
            "OneCharacterLineAddsEmptyRecord", "H1\r\nH2\r\nx\r\nxA\r\n", "H1 H2", {"", "A"}},
        ExportCase{"CrOnlyEnds", "H1\rH2\rxA\rxB\r", "H1 H2", {"A", "B"}},
        ExportCase{"LfOnlyIsOneHeaderLine", "H1\nH2\nxA\n", "H1\nH2\nxA\n", {}},
        ExportCase{"MixedEnds", "H1\nmore\r\nH2\rxA\nB\r\nxC", "H1\nmore H2", {"A\nB", "C"}},
        ExportCase{"NothingTrimmed", " H1 \r\n\tH2\t\r\n  A  \r\n", " H1  \tH2\t", {" A  "}},
        ExportCase{"NulBytes", raw("H\0\r\n\0\r\n\0\0A\0\r\n"), raw("H\0 \0"), {raw("\0A\0")}},
        ExportCase{"DanishLetters",
                   "Udskrevet \xe6\xf8\xe5\r\nH2\r\nx\xc6\xd8\xc5\r\n",
                   "Udskrevet \xe6\xf8\xe5 H2",
                   {"\xc6\xd8\xc5"}}),
    rowName);

struct YearCase {
    const char* name;
    QByteArray record;
    QByteArray code;
};

class YearCode : public ::testing::TestWithParam<YearCase> {};

TEST_P(YearCode, IsCharactersFiveToSix) {
    EXPECT_EQ(dalvero::yearCode(GetParam().record), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Rule, YearCode,
                         ::testing::Values(YearCase{"Full", "ABCDEFGHIJKF", "EF"},
                                           YearCase{"SixCharacters", "DVK 07", "07"},
                                           YearCase{"FiveCharacters", "DVK 0", "0"},
                                           YearCase{"FourCharacters", "DVK ", ""},
                                           YearCase{"Empty", "", ""},
                                           YearCase{"BlankKept", "DVK  7 1234", " 7"}),
                         rowName);

// A load with no pigeons at all is fine; the window then has no current entry.
TEST(ExportLoading, NoPigeonsIsNoFailure) {
    ScratchFolder folder;
    const QString path = folder.writeFile(QStringLiteral("tom.txt"), "H1\r\nH2\r\n\r\n\r\n");
    const auto loaded = dalvero::loadExportFile(path, 0);
    ASSERT_TRUE(loaded.ok());
    EXPECT_TRUE(loaded.value().records.isEmpty());
    EXPECT_EQ(loaded.value().header, std::optional<QByteArray>("H1 H2"));
}

} // namespace
} // namespace dalvero::testing
