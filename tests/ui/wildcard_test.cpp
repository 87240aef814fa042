#include "support/named_row.h"
#include "ui/wildcard.h"

#include <gtest/gtest.h>

namespace {

struct WildcardCase {
    const char* name;
    const char* pattern;
    const char* fileName;
    bool listed;
};

class WildcardRule : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardRule, DecidesWhetherTheFileIsListed) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(dalvero::matchesWildcard(QString::fromUtf8(c.fileName), QString::fromUtf8(c.pattern)),
              c.listed);
}

const WildcardCase kCases[] = {
    {"TxtLowerCase", "*.txt", "eksport.txt", true},
    {"TxtUpperCaseName", "*.txt", "EKSPORT.TXT", true},
    {"TxtMixedCase", "*.txt", "Eksport.Txt", true},
    {"TxtOtherExtension", "*.txt", "eksport.csv", false},
    {"TxtExtensionOnlyAtEnd", "*.txt", "eksport.txt.bak", false},
    {"TxtNoDot", "*.txt", "eksporttxt", false},
    {"TxtOnlyExtension", "*.txt", ".txt", true},
    {"TxtDanishLetters", "*.txt", "æøå ÆØÅ.TXT", true},
    {"TxtBlanksInName", "*.txt", "min fil.txt", true},
    {"TxtBracketsInName", "*.txt", "liste [2].txt", true},
    {"TxtPlusAndParentheses", "*.txt", "a+b (1).txt", true},
    {"ZNoExtension", "z*.*", "z12345", true},
    {"ZUpperNoExtension", "z*.*", "Z12345", true},
    {"ZWithExtension", "z*.*", "Z12345.TXT", true},
    {"ZJustTheLetter", "z*.*", "z", true},
    {"ZTwoDots", "z*.*", "z1.2.3", true},
    {"ZOtherFirstLetter", "z*.*", "a12345", false},
    {"ZLetterNotFirst", "z*.*", "az12345", false},
    {"ZDotFirst", "z*.*", "z.", true},
    {"QuestionMarkOneCharacter", "z?.txt", "z1.txt", true},
    {"QuestionMarkNotTwo", "z?.txt", "z12.txt", false},
    {"StarDotStarEverything", "*.*", "anything", true},
};

INSTANTIATE_TEST_SUITE_P(FileList, WildcardRule, ::testing::ValuesIn(kCases),
                         dalvero::testing::rowName);

} // namespace
