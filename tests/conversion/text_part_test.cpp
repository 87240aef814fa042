#include "conversion/text_rules.h"
#include "support/named_row.h"
#include "support/raw_bytes.h"

#include <QDir>

#include <gtest/gtest.h>

namespace dalvero::testing {
namespace {

struct PartCase {
    const char* name;
    QByteArray text;
    qsizetype from;
    qsizetype to;
    QByteArray expected;
};

class TextPart : public ::testing::TestWithParam<PartCase> {};

TEST_P(TextPart, TakesCharactersFromTo) {
    const PartCase& c = GetParam();
    EXPECT_EQ(textPart(c.text, c.from, c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, TextPart,
    ::testing::Values(PartCase{"Inside", "ABCDEFGHIJKF", 5, 6, "EF"},
                      PartCase{"FromFirst", "ABCDEFGHIJKF", 1, 3, "ABC"},
                      PartCase{"ToLast", "ABCDEFGHIJKF", 12, 12, "F"},
                      PartCase{"RunsToShorterEnd", "ABCDE", 5, 6, "E"},
                      PartCase{"EndsJustBefore", "ABCD", 5, 6, ""},
                      PartCase{"EmptyText", "", 1, 12, ""},
                      PartCase{"FarBeyondEnd", "AB", 1000, 2000, ""},
                      PartCase{"OverlongLineCut", QByteArray(40, 'x'), 14, 24, QByteArray(11, 'x')},
                      PartCase{"NulBytesKept", raw("\0\0A\0"), 2, 4, raw("\0A\0")},
                      PartCase{"HighBytesKept", "\xe6\xf8\xe5\xc6", 2, 3, "\xf8\xe5"}),
    rowName);

struct PathCase {
    const char* name;
    QString folder;
    QString file;
    QString expected;
};

class JoinPath : public ::testing::TestWithParam<PathCase> {};

// Nothing is normalised: a folder at the root keeps its doubled separator.
// The rows write paths with "/"; on Windows the user's folder and the join
// both use the backslash.
TEST_P(JoinPath, ConcatenatesPlainly) {
    const PathCase& c = GetParam();
    EXPECT_EQ(dalvero::joinPath(QDir::toNativeSeparators(c.folder), c.file),
              QDir::toNativeSeparators(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, JoinPath,
    ::testing::Values(PathCase{"Plain", "/home/due", "z12345", "/home/due/z12345"},
                      PathCase{"RootFolder", "/", "z12345", "//z12345"},
                      PathCase{"TrailingSeparatorKept", "/a/", "b", "/a//b"},
                      PathCase{"DotsKept", "/a/./b/..", "c.txt", "/a/./b/../c.txt"},
                      PathCase{"OddName", "/tmp/sjov mappe", "-\"æøå\" 1.txt",
                               "/tmp/sjov mappe/-\"æøå\" 1.txt"}),
    rowName);

struct RoomCase {
    const char* name;
    qsizetype current;
    qsizetype adding;
    bool fits;
};

class ListRoom : public ::testing::TestWithParam<RoomCase> {};

TEST_P(ListRoom, StopsAtTheListLimit) {
    const RoomCase& c = GetParam();
    const dalvero::Status status =
        dalvero::checkListRoom(c.current, c.adding, QStringLiteral("liste"), QStringLiteral("/f"));
    EXPECT_EQ(!status.has_value(), c.fits);
    if (status) {
        EXPECT_EQ(status->path, QStringLiteral("/f"));
        EXPECT_FALSE(status->message().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rule, ListRoom,
                         ::testing::Values(RoomCase{"Empty", 0, 0, true},
                                           RoomCase{"ExactlyFull", 0, 32767, true},
                                           RoomCase{"OnePast", 0, 32768, false},
                                           RoomCase{"FullAddingNothing", 32767, 0, true},
                                           RoomCase{"FullAddingOne", 32767, 1, false},
                                           RoomCase{"SplitExactlyFull", 20000, 12767, true},
                                           RoomCase{"SplitOnePast", 20000, 12768, false},
                                           RoomCase{"Huge", 1, qsizetype(1) << 40, false}),
                         rowName);

// Every byte shows as a character of its own and comes back as it was; all
// but 0x80 to 0x9F show as the character of the same code.
TEST(DisplayMapping, EveryByteSurvivesTheWindow) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString shown = dalvero::toDisplay(all);
    ASSERT_EQ(shown.size(), 256);
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80 || b >= 0xa0) {
            EXPECT_EQ(shown[b].unicode(), b);
        }
    }
    EXPECT_EQ(dalvero::fromDisplay(shown), std::optional<QByteArray>(all));
    EXPECT_EQ(dalvero::toDisplay(dalvero::Lines{"\xe6", "b\x80"}),
              QStringList({QStringLiteral("æ"), QStringLiteral("b€")}));
}

struct DisplayCase {
    const char* name;
    QString shown;
    // The bytes shown so and typed text's bytes; none when no byte shows as
    // some character of the text.
    std::optional<QByteArray> bytes;
};

class DisplayCharacters : public ::testing::TestWithParam<DisplayCase> {};

// Windows-1252 both ways; typed text with a character no byte shows as is refused.
TEST_P(DisplayCharacters, ShowWindows1252) {
    const DisplayCase& c = GetParam();
    if (c.bytes) {
        EXPECT_EQ(dalvero::toDisplay(*c.bytes), c.shown);
    }
    EXPECT_EQ(dalvero::fromDisplay(c.shown), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, DisplayCharacters,
    ::testing::Values(
        DisplayCase{"Euro", QStringLiteral("07\u20ac"), "07\x80"},
        DisplayCase{"LowDoubleQuote", QStringLiteral("\u201e"), "\x84"},
        DisplayCase{"EnDash", QStringLiteral("\u2013"), "\x96"},
        DisplayCase{"LastOfTheCodePage", QStringLiteral("\u0178"), "\x9f"},
        DisplayCase{"UndefinedBytesKeepTheirCode", QStringLiteral("\u0081\u008d\u008f\u0090\u009d"),
                    "\x81\x8d\x8f\x90\x9d"},
        DisplayCase{"DanishLetters", QStringLiteral("æøåÆØÅ"), "\xe6\xf8\xe5\xc6\xd8\xc5"},
        DisplayCase{"Empty", QString(), QByteArray()},
        // 0x80 shows as "€": nothing shows as U+0080 any more.
        DisplayCase{"ControlTakenByTheCodePage", QStringLiteral("07\u0080"), std::nullopt},
        DisplayCase{"AboveLatin1NotInTheCodePage", QStringLiteral("07\u0100"), std::nullopt},
        DisplayCase{"OutsideTheBasicPlane", QString::fromUcs4(U"\U0001F426"), std::nullopt}),
    rowName);

} // namespace
} // namespace dalvero::testing
