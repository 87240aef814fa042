// What a screen reader and the Tab key find in the window: a name for every
// control, names that follow the captions as they change, and the focus
// moving through the controls in their tab order.
#include "support/named_row.h"
#include "support/window_test.h"

#include <QAccessible>
#include <QLabel>

#include <algorithm>

namespace dalvero::testing {
namespace {

struct Control {
    const char* name;
    // What the control shows and so is read as; nullptr for the lists,
    // pickers and empty labels, which carry a description instead.
    const char* caption;
    int tabIndex;
    bool takesFocus;
};

const Control kControls[] = {
    {"Label5", "VÆLG EKSPORTFIL med dobbelltklik", 24, false},
    {"Label4", nullptr, 23, false},
    {"Frame4", "Vælg Eksportfil", 18, false},
    {"Drive3", "Drev for eksportfil", 19, true},
    {"Dir3", nullptr, 20, true},
    {"Label3", "Dobbelt klik aktuel Eksportfil.", 22, false},
    {"File2", nullptr, 21, true},
    {"Frame2", "Fravælg evt duer", 4, false},
    {"Check1", "Fravælg evt. en årgang", 6, true},
    {"Combo2", nullptr, 7, true},
    {"List1", nullptr, 5, true},
    {"uni_fil", "Vælg UNI fil", 0, false},
    {"Drive1", "Drev for UNIKON fil", 3, true},
    {"Dir1", nullptr, 2, true},
    {"Label2", "Dobbelt klik aktuel UNIKON fil ender på medlems nr.", 17, false},
    {"File1", nullptr, 1, true},
    {"Frame1", "GL UNIKON FIL", 8, false},
    {"List2", nullptr, 9, true},
    {"Label1(4)", "Antal Duer", 15, false},
    {"Label1(5)", nullptr, 16, false},
    {"Frame3", "NY UNIKON FIL", 10, false},
    {"List3", nullptr, 11, true},
    {"Label1(0)", "Antal Duer", 13, false},
    {"Label1(1)", nullptr, 14, false},
    {"Command1", "Dan fil", 12, true},
};

QString readName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

class Accessibility : public WindowTest {
protected:
    // A loaded export file and a built UNIKON list: every control is usable
    // and every caption is filled.
    WindowDriver& startAndMerge() {
        writeExport(
            QStringLiteral("e.txt"),
            exportFile("Klub 7", "Medlem 42", {record("07", "1111"), record("08", "2222")}));
        writeUnikon(QStringLiteral("z42"), matchKey("07", "1111") + "W12345678901\r\n" +
                                               matchKey("09", "3333") + "W12345678901\r\n" +
                                               matchKey("09", "4444") + "W12345678901\r\n");
        WindowDriver& w = start();
        w.loadExport(exportFolder, QStringLiteral("e.txt"));
        w.merge(unikonFolder, QStringLiteral("z42"));
        return w;
    }
};

TEST_F(Accessibility, EveryControlIsReadByItsCaptionOrADescriptionOfItsOwn) {
    WindowDriver& w = start();
    QStringList descriptions;
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.name);
        QWidget* control = w.control(QString::fromUtf8(c.name));
        ASSERT_NE(control, nullptr);
        const QString name = readName(control);
        EXPECT_FALSE(name.isEmpty());
        if (c.caption)
            EXPECT_EQ(name, QString::fromUtf8(c.caption));
        else
            descriptions << control->accessibleName();
    }
    // These tell the export pickers from the UNIKON pickers, and the old list
    // from the new one.
    QStringList distinct = descriptions;
    distinct.removeDuplicates();
    EXPECT_EQ(distinct, descriptions);
    // What tells them apart there is the frame each one is labelled by.
    for (const auto& [drive, frame] : {std::pair{"Drive3", "Frame4"}, {"Drive1", "uni_fil"}}) {
        SCOPED_TRACE(drive);
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(w.control(QString::fromLatin1(drive)));
        QStringList labels;
        for (const auto& relation : accessible->relations(QAccessible::Label))
            labels << relation.first->text(QAccessible::Name);
        EXPECT_TRUE(labels.contains(readName(w.control(QString::fromLatin1(frame)))))
            << labels.join(", ").toStdString();
    }
    // A folder list holds its folders and nothing else, no hidden header.
    QAccessibleInterface* dir3 = QAccessible::queryAccessibleInterface(w.control("Dir3"));
    ASSERT_GT(dir3->childCount(), 0);
    for (int i = 0; i < dir3->childCount(); ++i)
        EXPECT_EQ(dir3->child(i)->role(), QAccessible::ListItem) << i;
}

TEST_F(Accessibility, LabelsAreReadAsTheyNowShow) {
    WindowDriver& w = startAndMerge();
    for (const char* name : {"Label5", "Label4", "Label1(5)", "Label1(1)"}) {
        SCOPED_TRACE(name);
        QLabel* label = w.find<QLabel>(QString::fromUtf8(name));
        ASSERT_FALSE(label->text().isEmpty());
        EXPECT_TRUE(readName(label).contains(label->text())) << readName(label);
    }
    EXPECT_EQ(readName(w.control(QStringLiteral("Label5"))), kDanFilPrompt);
}

enum class Stage { Start, Merged };

struct TabCase {
    const char* name;
    Stage stage;
    int key;
    const char* from;
    // The controls that cannot be used at this stage: the focus passes them.
    QStringList unusable;
};

// The focusable controls in their tab order, usable ones only, from the one
// after `from` round to `from` itself; the other way round for Backtab.
QStringList expectedPath(const TabCase& c) {
    std::vector<Control> order;
    for (const Control& each : kControls) {
        if (each.takesFocus && !c.unusable.contains(QString::fromUtf8(each.name)))
            order.push_back(each);
    }
    std::ranges::sort(order, {}, &Control::tabIndex);
    if (c.key == Qt::Key_Backtab)
        std::ranges::reverse(order);
    QStringList names;
    for (const Control& each : order)
        names << QString::fromUtf8(each.name);
    const qsizetype at = names.indexOf(QString::fromUtf8(c.from));
    return names.mid(at + 1) + names.mid(0, at + 1);
}

class TabOrder : public Accessibility, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabOrder, FocusGoesRoundTheUsableControlsInTabOrder) {
    const TabCase& c = GetParam();
    WindowDriver& w = c.stage == Stage::Start ? start() : startAndMerge();
    ASSERT_TRUE(w.bringToFront());
    w.control(QString::fromUtf8(c.from))->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(w.focusedControl(), QString::fromUtf8(c.from));

    const QStringList expected = expectedPath(c);
    EXPECT_EQ(w.focusPath(c.key, static_cast<int>(expected.size())), expected);
}

const QStringList kUnusableAtStart = {"File1",  "Dir1",   "Drive1",  "List1",
                                      "Check1", "Combo2", "Command1"};

INSTANTIATE_TEST_SUITE_P(
    Stages, TabOrder,
    ::testing::Values(TabCase{"AtStartTab", Stage::Start, Qt::Key_Tab, "Drive3", kUnusableAtStart},
                      TabCase{"AtStartBacktab", Stage::Start, Qt::Key_Backtab, "Drive3",
                              kUnusableAtStart},
                      TabCase{"AfterMergeTab", Stage::Merged, Qt::Key_Tab, "File1", {}},
                      TabCase{"AfterMergeBacktab", Stage::Merged, Qt::Key_Backtab, "File1", {}}),
    rowName);

} // namespace
} // namespace dalvero::testing
