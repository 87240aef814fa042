// The window as laid out: every control where the layout puts it, with its
// caption, its frame, its starting state, its accessible name and its place in
// the tab order.
#include "support/named_row.h"
#include "support/restore_fixture.h"
#include "support/window_test.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyleOption>
#include <QTest>
#include <QtMath>

namespace dalvero::testing {
namespace {

struct Placement {
    const char* name;
    const char* container; // "Form1" for the window itself
    const char* caption;   // nullptr for controls without one
    int left, top, width, height;
};

const Placement kLayout[] = {
    {"Label5", "Form1", "VÆLG EKSPORTFIL med dobbelltklik", 240, 240, 4695, 375},
    {"Label4", "Form1", "", 5880, 240, 6495, 375},
    {"Frame4", "Form1", "Vælg Eksportfil", 120, 840, 3015, 4815},
    {"Drive3", "Frame4", nullptr, 240, 360, 2535, 315},
    {"Dir3", "Frame4", nullptr, 240, 840, 2535, 1440},
    {"Label3", "Frame4", "Dobbelt klik aktuel Eksportfil.", 240, 2520, 2535, 375},
    {"File2", "Frame4", nullptr, 240, 3000, 2535, 1650},
    {"Frame2", "Form1", "Fravælg evt duer", 3240, 840, 3015, 4815},
    {"Check1", "Frame2", "Fravælg evt. en årgang", 120, 360, 2055, 255},
    {"Combo2", "Frame2", nullptr, 120, 720, 2775, 315},
    {"List1", "Frame2", nullptr, 120, 1200, 2775, 3435},
    {"uni_fil", "Form1", "Vælg UNI fil", 6360, 840, 3015, 4815},
    {"Drive1", "uni_fil", nullptr, 240, 360, 2535, 315},
    {"Dir1", "uni_fil", nullptr, 240, 840, 2535, 1440},
    {"Label2", "uni_fil", "Dobbelt klik aktuel UNIKON fil ender på medlems nr.", 240, 2400, 2535,
     495},
    {"File1", "uni_fil", nullptr, 240, 2880, 2535, 1650},
    {"Frame1", "Form1", "GL UNIKON FIL", 9480, 840, 3135, 2055},
    {"List2", "Frame1", nullptr, 120, 240, 2895, 1230},
    {"Label1(4)", "Frame1", "Antal Duer", 480, 1680, 975, 255},
    {"Label1(5)", "Frame1", "", 1920, 1680, 735, 255},
    {"Frame3", "Form1", "NY UNIKON FIL", 9480, 3000, 3135, 2295},
    {"List3", "Frame3", nullptr, 120, 240, 2895, 1425},
    {"Label1(0)", "Frame3", "Antal Duer", 480, 1800, 975, 255},
    {"Label1(1)", "Frame3", "", 1680, 1800, 735, 255},
    {"Command1", "Form1", "Dan fil", 10320, 5400, 1455, 255},
};

QString captionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return {};
}

class WindowLayout : public WindowTest {};

TEST_F(WindowLayout, EveryControlSitsInItsFrameWithItsCaptionAndGeometry) {
    WindowDriver& window = start();
    const Twips twips(window.window());
    for (const Placement& p : kLayout) {
        SCOPED_TRACE(p.name);
        const QWidget* control = window.control(QString::fromUtf8(p.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), QString::fromUtf8(p.container));
        const QRect laidOut = twips.rect(p.left, p.top, p.width, p.height);
        if (QLatin1String(p.name) == QLatin1String("Check1")) {
            // The check box may grow to the right so that its caption is not
            // cut off, but it stays inside its frame.
            EXPECT_EQ(control->pos(), laidOut.topLeft());
            EXPECT_EQ(control->height(), laidOut.height());
            EXPECT_GE(control->width(), laidOut.width());
            EXPECT_GE(control->width(), control->sizeHint().width());
            EXPECT_LE(control->geometry().right(), twips.pixels(120 + 2775));
        } else if (QLatin1String(p.name) == QLatin1String("Command1")) {
            // The button may grow downwards for the style's margins around
            // its caption, but it stays inside the window.
            EXPECT_EQ(control->pos(), laidOut.topLeft());
            EXPECT_EQ(control->width(), laidOut.width());
            EXPECT_GE(control->height(), laidOut.height());
            EXPECT_GE(control->height(), control->sizeHint().height());
            EXPECT_LE(control->geometry().bottom(), twips.pixels(5985) - 1);
        } else {
            EXPECT_EQ(control->geometry(), laidOut);
        }
        if (p.caption) {
            EXPECT_EQ(captionOf(control), QString::fromUtf8(p.caption));
        }
        EXPECT_FALSE(control->accessibleName().isEmpty());
        EXPECT_TRUE(control->isVisible());
    }
    EXPECT_EQ(std::size(kLayout), 25u);
}

TEST_F(WindowLayout, WindowHasItsTitleAndAFixedClientArea) {
    WindowDriver& window = start();
    const Twips twips(window.window());
    const QSize client(twips.pixels(12825), twips.pixels(5985));
    EXPECT_EQ(window.window().windowTitle(), QStringLiteral("Dalvero Ver 3.1"));
    EXPECT_EQ(window.window().size(), client);
    EXPECT_EQ(window.window().minimumSize(), client);
    EXPECT_EQ(window.window().maximumSize(), client);
}

TEST_F(WindowLayout, PromptLineUsesItsOwnFontSize) {
    WindowDriver& window = start();
    EXPECT_DOUBLE_EQ(window.find<QLabel>(QStringLiteral("Label5"))->font().pointSizeF(), 9.75);
    EXPECT_TRUE(window.find<QLabel>(QStringLiteral("Label2"))->wordWrap());
}

// Each caption against the room its control gives it, in the font the window
// uses, and the window drawn whole around it; ctest runs this once more at
// each display scale. Captions set while the program runs are given; nullptr
// is the caption shown at start.
struct CaptionRoom {
    const char* name;
    const char* control;
    const char* caption;
    bool inRestoreWindow = false;
};

const CaptionRoom kCaptions[] = {
    {"Prompt", "Label5", nullptr},
    {"PromptDeselect", "Label5", "Fravælg evt. duer og vælg unikon fil"},
    {"PromptOk", "Label5", "Er det OK, klik på 'Dan fil'"},
    {"ExportFileHint", "Label3", nullptr},
    {"UnikonFileHint", "Label2", nullptr},
    {"OldCountCaption", "Label1(4)", nullptr},
    {"OldCountAtTheLimit", "Label1(5)", "32767"},
    {"NewCountCaption", "Label1(0)", nullptr},
    {"NewCountAtTheLimit", "Label1(1)", "32767"},
    {"ExportFrame", "Frame4", nullptr},
    {"DeselectFrame", "Frame2", nullptr},
    {"UnikonFrame", "uni_fil", nullptr},
    {"OldListFrame", "Frame1", nullptr},
    {"NewListFrame", "Frame3", nullptr},
    {"YearBox", "Check1", nullptr},
    {"DanFil", "Command1", nullptr},
    {"RestorePrompt", "Prompt",
     "Vælg den kopi, du vil lægge tilbage, og klik på 'Vælg UNIKON fil' for at vælge filen z12345",
     true},
    {"RestoreChooseFile", "ChooseFile", nullptr, true},
    {"RestoreFileHeading", "FileHeading", "UNIKON filen nu", true},
    {"RestoreCopyHeading", "CopyHeading", "Kopien", true},
    {"RestoreFileCountAtTheLimit", "FileCount", "32767 linjer, 32767 forsvinder", true},
    {"RestoreCopyCountAtTheLimit", "CopyCount", "32767 linjer, 32767 kommer tilbage", true},
    {"RestorePutBack", "PutBack", nullptr, true},
    {"RestoreClose", "Close", nullptr, true},
    {"RestoreHelp", "Help", nullptr, true},
};

// The room a control gives its caption, and the size the caption needs there.
struct Fit {
    QRect room;
    QSize needed;
};

template <typename Widget, typename Option>
Option optionOf(const Widget* widget, void (Widget::*init)(Option*) const) {
    Option option;
    (widget->*init)(&option);
    return option;
}

// Reach the widgets' own (protected) style options.
struct FrameOption : QGroupBox {
    using QGroupBox::initStyleOption;
};
struct CheckBoxOption : QCheckBox {
    using QCheckBox::initStyleOption;
};
struct ButtonOption : QPushButton {
    using QPushButton::initStyleOption;
};

// The named frames, lists and buttons of the shown window with an edge not
// drawn. An edge is drawn when a line in its band (the control's margin
// there, at least one pixel, and one more) differs all along from the
// window's background and from the inside just past the band; the part
// sampled, 55 % to 90 % along, is clear of a frame's title.
QStringList edgesNotDrawn(QWidget* window) {
    QImage shot = window->screen()->grabWindow(window->winId()).toImage();
    const qreal ratio = window->devicePixelRatio();
    // The offscreen platform grabs a scaled window at its size unscaled;
    // drawn anew, it is what its widgets paint.
    if (shot.size() != window->size() * ratio)
        shot = window->grab().toImage();
    const QRgb background = window->palette().color(QPalette::Window).rgb();
    QStringList missing;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const auto* panel = qobject_cast<QFrame*>(control);
        if (control->objectName().isEmpty() || !control->isVisible() ||
            !((panel && panel->frameWidth() > 0) || qobject_cast<QGroupBox*>(control) ||
              qobject_cast<QPushButton*>(control) || qobject_cast<QComboBox*>(control)))
            continue;
        const QRect at(control->mapTo(window, QPoint()) * ratio, control->size() * ratio);
        const auto check = [&](const char* edge, QPoint start, QPoint along, QPoint inwards,
                               int length, int margin) {
            const int band = qCeil((qMax(margin, 1) + 1) * ratio);
            for (int depth = 0; depth < band; ++depth) {
                bool drawn = true;
                for (int step = length * 11 / 20; drawn && step < length * 9 / 10; ++step) {
                    const QPoint outer = start + along * step;
                    const QRgb colour = shot.pixel(outer + inwards * depth);
                    drawn = colour != background && colour != shot.pixel(outer + inwards * band);
                }
                if (drawn)
                    return;
            }
            missing << control->objectName() + QLatin1Char(' ') + QLatin1String(edge);
        };
        const QMargins margins = control->contentsMargins();
        check("top", at.topLeft(), {1, 0}, {0, 1}, at.width(), margins.top());
        check("bottom", at.bottomLeft(), {1, 0}, {0, -1}, at.width(), margins.bottom());
        check("left", at.topLeft(), {0, 1}, {1, 0}, at.height(), margins.left());
        check("right", at.topRight(), {0, 1}, {-1, 0}, at.height(), margins.right());
    }
    return missing;
}

Fit fitOf(QWidget* control, const QString& caption) {
    const QFontMetrics metrics(control->font());
    // A line is laid out at the font's height rounded; the fraction of a
    // pixel more that size() counts holds no ink.
    const QSize oneLine(metrics.size(Qt::TextShowMnemonic, caption).width(), metrics.height());
    if (auto* label = qobject_cast<QLabel*>(control)) {
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return {room, metrics.boundingRect(room, flags, caption).size()};
    }
    if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        frame->setTitle(caption);
        auto option = optionOf<QGroupBox>(frame, &FrameOption::initStyleOption);
        const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, frame);
        return {title.intersected(frame->rect()), oneLine};
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        auto option = optionOf<QCheckBox>(box, &CheckBoxOption::initStyleOption);
        return {box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box), oneLine};
    }
    auto* button = qobject_cast<QPushButton*>(control);
    auto option = optionOf<QPushButton>(button, &ButtonOption::initStyleOption);
    return {button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button),
            oneLine};
}

class CaptionFit : public WindowTest, public ::testing::WithParamInterface<CaptionRoom> {};

TEST_P(CaptionFit, NoCaptionIsCutOff) {
    const CaptionRoom& c = GetParam();
    ScriptedChooser chooser;
    std::unique_ptr<RestoreWindow> restore;
    if (c.inRestoreWindow) {
        restore = std::make_unique<RestoreWindow>(scratch.path(), start().seam, chooser);
        restore->show();
    }
    QWidget* control = restore ? restore->findChild<QWidget*>(QString::fromUtf8(c.control))
                               : start().control(QString::fromUtf8(c.control));
    ASSERT_NE(control, nullptr);
    const QString caption = c.caption ? QString::fromUtf8(c.caption) : captionOf(control);
    ASSERT_FALSE(caption.isEmpty());
    const Fit fit = fitOf(control, caption);
    const QFontInfo font(control->font());
    const QString shownIn = QStringLiteral("%1 in %2 %3 pt at %4 dpi, %5 style")
                                .arg(caption, font.family())
                                .arg(font.pointSizeF())
                                .arg(control->logicalDpiY())
                                .arg(control->style()->name());
    EXPECT_LE(fit.needed.width(), fit.room.width()) << qPrintable(shownIn);
    EXPECT_LE(fit.needed.height(), fit.room.height()) << qPrintable(shownIn);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(control->window()));
    EXPECT_EQ(edgesNotDrawn(control->window()), QStringList()) << qPrintable(shownIn);
}

INSTANTIATE_TEST_SUITE_P(Window, CaptionFit, ::testing::ValuesIn(kCaptions), rowName);

TEST_F(WindowLayout, AtStartOnlyTheExportPickersAndTheOldAndNewListsCanBeUsed) {
    WindowDriver& window = start();
    for (const char* name : {"Command1", "Frame2", "uni_fil", "Combo2"})
        EXPECT_FALSE(window.ownEnabled(QString::fromLatin1(name))) << name;
    for (const char* name : {"File1", "Dir1", "Drive1", "List1", "Check1", "Combo2"})
        EXPECT_FALSE(window.usable(QString::fromLatin1(name))) << name;
    for (const char* name : {"Drive3", "Dir3", "File2", "List2", "List3", "Frame4"})
        EXPECT_TRUE(window.usable(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(window.ownEnabled(QStringLiteral("Check1")));
    EXPECT_FALSE(window.yearBox()->isChecked());
    EXPECT_TRUE(window.yearCodes()->currentText().isEmpty());
    EXPECT_EQ(window.yearCodes()->count(), 0);
    for (const char* name : {"List1", "List2", "List3"})
        EXPECT_TRUE(window.entries(QString::fromLatin1(name)).isEmpty()) << name;
}

TEST_F(WindowLayout, TabMovesThroughTheControlsInTheirTabOrder) {
    WindowDriver& window = start();
    const QStringList expected = {"File1", "Dir1",  "Drive1",   "List1",  "Check1", "Combo2",
                                  "List2", "List3", "Command1", "Drive3", "Dir3",   "File2"};
    QStringList seen;
    QWidget* widget = window.control(QStringLiteral("File1"));
    for (int step = 0; step < 400 && seen.size() < expected.size(); ++step) {
        // The combo box's edit field stands in for the combo box.
        QWidget* owner = widget;
        while (owner && owner->objectName().isEmpty())
            owner = owner->parentWidget();
        if (owner && (widget->focusPolicy() & Qt::TabFocus) &&
            expected.contains(owner->objectName()) &&
            (seen.isEmpty() || seen.last() != owner->objectName()))
            seen << owner->objectName();
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace dalvero::testing
