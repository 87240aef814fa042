// Picking a year code with the keys, and the keys in the year list that must
// pick nothing.
#include "support/named_row.h"
#include "support/window_test.h"

#include <QAbstractItemView>

#include <optional>
#include <vector>

namespace dalvero::testing {
namespace {

struct Keystroke {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct YearKeysCase {
    const char* name;
    const char* typed; // typed into the edit field first
    std::vector<Keystroke> keys;
    // The year class left out afterwards; none when the keys picked nothing.
    std::optional<std::vector<bool>> selection;
};

class YearKeys : public WindowTest, public ::testing::WithParamInterface<YearKeysCase> {};

TEST_P(YearKeys, PickOnlyFromTheListNeverFromTyping) {
    const YearKeysCase& c = GetParam();
    writeExport(QStringLiteral("e.txt"), exportFile("Klub", "Medlem",
                                                    {record("07", "1111"), record("08", "2222"),
                                                     record("09", "3333"), record("07", "4444")}));
    writeUnikon(QStringLiteral("z1"), matchKey("07", "1111") + "W12345678901\r\n");
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("e.txt"));
    w.merge(unikonFolder, QStringLiteral("z1"));
    ASSERT_EQ(w.entries(QStringLiteral("List3")).size(), 4);

    ASSERT_TRUE(w.bringToFront());
    ASSERT_TRUE(w.moveFocusTo(QStringLiteral("Combo2")));
    if (c.typed)
        w.type(QString::fromLatin1(c.typed));
    for (const Keystroke& k : c.keys)
        ASSERT_TRUE(w.press(k.key, k.modifiers));

    EXPECT_FALSE(w.yearCodes()->view()->isVisible());
    if (c.selection) {
        EXPECT_EQ(w.pigeonList()->selection(), *c.selection);
        EXPECT_TRUE(w.entries(QStringLiteral("List3")).isEmpty());
    } else {
        EXPECT_EQ(w.pigeonList()->selection(), std::vector<bool>(4, true));
        EXPECT_EQ(w.entries(QStringLiteral("List3")).size(), 4);
    }
    EXPECT_EQ(w.yearCodes()->count(), 3) << "typed text is never added";
}

const std::vector<bool> kWithout07 = {false, true, true, false};
const std::vector<bool> kWithout08 = {true, false, true, true};

// The drop-down opens on the first code, so one arrow reaches the second.
INSTANTIATE_TEST_SUITE_P(
    Keys, YearKeys,
    ::testing::Values(
        YearKeysCase{"DownInTheClosedList", nullptr, {{Qt::Key_Down}}, kWithout07},
        YearKeysCase{
            "DownTwiceInTheClosedList", nullptr, {{Qt::Key_Down}, {Qt::Key_Down}}, kWithout08},
        YearKeysCase{"DropDownArrowAndEnter",
                     nullptr,
                     {{Qt::Key_Down, Qt::AltModifier}, {Qt::Key_Down}, {Qt::Key_Return}},
                     kWithout08},
        YearKeysCase{"DropDownClosedWithEscape",
                     nullptr,
                     {{Qt::Key_Down, Qt::AltModifier}, {Qt::Key_Down}, {Qt::Key_Escape}},
                     std::nullopt},
        YearKeysCase{"TypedCodeAndEnter", "08", {{Qt::Key_Return}}, std::nullopt},
        YearKeysCase{"TypedCodeAndTabAway", "08", {{Qt::Key_Tab}}, std::nullopt},
        YearKeysCase{
            "TypedCodeAndBacktabAway", "08", {{Qt::Key_Backtab, Qt::ShiftModifier}}, std::nullopt}),
    rowName);

} // namespace
} // namespace dalvero::testing
