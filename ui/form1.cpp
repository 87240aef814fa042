#include "form1.h"

#include "drive_list.h"
#include "file_list.h"
#include "folder_list.h"
#include "line_list.h"
#include "pigeon_list.h"
#include "program.h"
#include "twips.h"
#include "user_guide.h"
#include "window_parts.h"
#include "year_combo.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace dalvero {

namespace {

// The caption beside each of the two counts.
const QString kCountCaption = QStringLiteral("Antal Duer");

// Debian's default sans serif, where Windows' UI font is missing.
const QString kFallbackFont = QStringLiteral("DejaVu Sans");

// Places `widget` in `container` at a position given in twips, relative to
// the container's top-left corner, under the control's own name.
template <typename Widget>
Widget* place(Widget* widget, const char* name, const Twips& twips, int left, int top, int width,
              int height) {
    named(widget, name)->setGeometry(twips.rect(left, top, width, height));
    return widget;
}

QLabel* label(QWidget* container, const QString& caption) {
    auto* result = new QLabel(caption, container);
    result->setWordWrap(true);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return result;
}

// Every caption is laid out for an 8-point sans-serif window font. Windows'
// own UI font where there is one, else DejaVu Sans (Debian's default), else
// whatever sans serif the system has: outline fonts that keep their shape on
// a scaled display, and in the first two every caption fits its control.
QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Segoe UI"), kFallbackFont});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

// The prompt line is larger. "MS Sans Serif" is a bitmap font that renders
// badly on a scaled display, so its outline twin stands in for it.
QFont promptFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), kFallbackFont});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

// Every event comes in through here: once the program has ended, the window
// runs no more of them, neither those raised while the end is under way nor
// those still on their way. An event raised inside a running handler (the
// year box unticked by "Dan fil", the folder a new drive shows) comes in here
// too and runs, as the program has not ended yet.
template <typename... Args> auto Form1::whileRunning(void (Form1::*handler)(Args...)) {
    return [this, handler](Args... args) {
        if (!m_ended)
            (this->*handler)(args...);
    };
}

Form1::Form1(const QString& baseFolder, PlatformSeam& seam, QWidget* parent)
    : QWidget(parent), m_baseFolder(baseFolder), m_seam(seam) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Dalvero Ver ") + kVersion);
    setFont(windowFont());
    buildControls();
    setTabOrder();
    describeForAccessibility();

    // The starting state: only the export pickers can be used.
    m_command1->setEnabled(false);
    m_frame2->setEnabled(false);
    m_uniFil->setEnabled(false);
    m_combo2->setEnabled(false);

    wireEvents();
    openStartFolders();

    const Twips twips(*this);
    setFixedSize(twips.pixels(kClientWidth), twips.pixels(kClientHeight));
    centreOnScreen(this);
}

void Form1::buildControls() {
    const Twips twips(*this);
    // Asked of the system once for both lists at start (a network drive that
    // is gone answers slowly); each list asks again when the user opens it.
    const QList<drives::Drive> machineDrives = drives::all();

    m_label5 = place(label(this, QStringLiteral("VÆLG EKSPORTFIL med dobbelltklik")), "Label5",
                     twips, 240, 240, 4695, 375);
    m_label5->setFont(promptFont());
    m_label4 = place(label(this, QString()), "Label4", twips, 5880, 240, 6495, 375);

    m_frame4 = place(new QGroupBox(QStringLiteral("Vælg Eksportfil"), this), "Frame4", twips, 120,
                     840, 3015, 4815);
    m_drive3 = place(new DriveList(machineDrives, m_frame4), "Drive3", twips, 240, 360, 2535, 315);
    m_dir3 = place(new FolderList(m_frame4), "Dir3", twips, 240, 840, 2535, 1440);
    m_label3 = place(label(m_frame4, QStringLiteral("Dobbelt klik aktuel Eksportfil.")), "Label3",
                     twips, 240, 2520, 2535, 375);
    m_file2 = place(new FileList(QStringLiteral("*.txt"), m_frame4), "File2", twips, 240, 3000,
                    2535, 1650);

    m_frame2 = place(new QGroupBox(QStringLiteral("Fravælg evt duer"), this), "Frame2", twips, 3240,
                     840, 3015, 4815);
    m_check1 = place(new QCheckBox(QStringLiteral("Fravælg evt. en årgang"), m_frame2), "Check1",
                     twips, 120, 360, 2055, 255);
    // The caption was measured for a narrower font; let the box grow to show
    // all of it, up to the frame's edge, rather than cut it off.
    m_check1->resize(qBound(m_check1->width(), m_check1->sizeHint().width(), twips.pixels(2775)),
                     m_check1->height());
    m_combo2 = place(new YearCombo(m_frame2), "Combo2", twips, 120, 720, 2775, 315);
    m_list1 = place(new PigeonList(m_frame2), "List1", twips, 120, 1200, 2775, 3435);

    m_uniFil = place(new QGroupBox(QStringLiteral("Vælg UNI fil"), this), "uni_fil", twips, 6360,
                     840, 3015, 4815);
    m_drive1 = place(new DriveList(machineDrives, m_uniFil), "Drive1", twips, 240, 360, 2535, 315);
    m_dir1 = place(new FolderList(m_uniFil), "Dir1", twips, 240, 840, 2535, 1440);
    m_label2 = place(
        label(m_uniFil, QStringLiteral("Dobbelt klik aktuel UNIKON fil ender på medlems nr.")),
        "Label2", twips, 240, 2400, 2535, 495);
    m_file1 = place(new FileList(QStringLiteral("z*.*"), m_uniFil), "File1", twips, 240, 2880, 2535,
                    1650);

    m_frame1 = place(new QGroupBox(QStringLiteral("GL UNIKON FIL"), this), "Frame1", twips, 9480,
                     840, 3135, 2055);
    m_list2 = place(new LineList(m_frame1), "List2", twips, 120, 240, 2895, 1230);
    m_label1_4 = place(label(m_frame1, kCountCaption), "Label1(4)", twips, 480, 1680, 975, 255);
    m_label1_5 = place(label(m_frame1, QString()), "Label1(5)", twips, 1920, 1680, 735, 255);

    m_frame3 = place(new QGroupBox(QStringLiteral("NY UNIKON FIL"), this), "Frame3", twips, 9480,
                     3000, 3135, 2295);
    m_list3 = place(new LineList(m_frame3), "List3", twips, 120, 240, 2895, 1425);
    m_label1_0 = place(label(m_frame3, kCountCaption), "Label1(0)", twips, 480, 1800, 975, 255);
    m_label1_1 = place(label(m_frame3, QString()), "Label1(1)", twips, 1680, 1800, 735, 255);

    m_command1 = place(new QPushButton(QStringLiteral("Dan fil"), this), "Command1", twips, 10320,
                       5400, 1455, 255);
    setUpButtons({m_command1});
    // A style that keeps a margin inside the bevel (Windows' does) has no room
    // for the caption at the laid-out height; let the button grow downwards
    // to the height the style asks, up to the window's lower edge, rather than
    // cut the caption off.
    m_command1->resize(m_command1->width(),
                       qBound(m_command1->height(), m_command1->sizeHint().height(),
                              twips.pixels(kClientHeight) - m_command1->y()));

    m_label3->setBuddy(m_file2);
    m_label2->setBuddy(m_file1);
}

void Form1::setTabOrder() {
    setTabChain({m_file1, m_dir1, m_drive1, m_list1, m_check1, m_combo2, m_list2, m_list3,
                 m_command1, m_drive3, m_dir3, m_file2});
}

void Form1::describeForAccessibility() {
    const auto name = [](QWidget* widget, const QString& text) { widget->setAccessibleName(text); };
    name(m_frame4, m_frame4->title());
    name(m_frame2, m_frame2->title());
    name(m_uniFil, m_uniFil->title());
    name(m_frame1, m_frame1->title());
    name(m_frame3, m_frame3->title());
    name(m_check1, m_check1->text());
    name(m_drive3, QStringLiteral("Drev for eksportfil"));
    name(m_dir3, QStringLiteral("Mappe for eksportfil"));
    name(m_file2, QStringLiteral("Eksportfiler"));
    name(m_drive1, QStringLiteral("Drev for UNIKON fil"));
    name(m_dir1, QStringLiteral("Mappe for UNIKON fil"));
    name(m_file1, QStringLiteral("UNIKON filer"));
    name(m_combo2, QStringLiteral("Årgang"));
    name(m_list1, QStringLiteral("Dueliste"));
    name(m_list2, QStringLiteral("Gammel UNIKON liste"));
    name(m_list3, QStringLiteral("Ny UNIKON liste"));

    // A label's name is what it shows; the ones that start empty also say
    // what they show.
    setAccessiblePrefix(m_label4, QStringLiteral("Eksportfilens hoved"));
    setAccessiblePrefix(m_label1_5, QStringLiteral("Antal duer i gammel UNIKON fil"));
    setAccessiblePrefix(m_label1_1, QStringLiteral("Antal duer i ny UNIKON fil"));
    for (QLabel* each :
         {m_label5, m_label4, m_label3, m_label2, m_label1_4, m_label1_5, m_label1_0, m_label1_1})
        setCaption(each, each->text());
}

void Form1::setCountTooltip(QLabel* label, const QString& text) {
    label->setToolTip(text);
    label->setAccessibleDescription(text);
}

void Form1::wireEvents() {
    connect(m_drive3, &DriveList::driveChanged, this, whileRunning(&Form1::drive3Change));
    connect(m_dir3, &FolderList::openRequested, this, whileRunning(&Form1::dir3Open));
    connect(m_dir3, &FolderList::pathChanged, this, whileRunning(&Form1::dir3Change));
    connect(m_file2, &FileList::fileClicked, this, whileRunning(&Form1::loadExportFile));

    connect(m_combo2, &YearCombo::picked, this, whileRunning(&Form1::deselectYear));
    // toggled, unlike clicked, also follows a change of the box made by code.
    connect(m_check1, &QCheckBox::toggled, this, whileRunning(&Form1::resetLists));

    connect(m_drive1, &DriveList::driveChanged, this, whileRunning(&Form1::drive1Change));
    connect(m_dir1, &FolderList::openRequested, this, whileRunning(&Form1::dir1Open));
    connect(m_dir1, &FolderList::pathChanged, this, whileRunning(&Form1::dir1Change));
    connect(m_file1, &FileList::fileDoubleClicked, this, whileRunning(&Form1::mergeUnikonFile));

    connect(m_command1, &QPushButton::clicked, this, whileRunning(&Form1::writeUnikonFile));

    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, this,
            whileRunning(&Form1::showHelp));
}

void Form1::showHelp() {
    showUserGuide(this, m_seam);
}

void Form1::openStartFolders() {
    // Both chains start at the process's current folder, whatever the base
    // folder is; a folder that cannot be shown is reported.
    const QString current = QDir::toNativeSeparators(QDir::currentPath());
    for (const auto open : {&Form1::dir3Open, &Form1::dir1Open})
        whileRunning(open)(current);
}

} // namespace dalvero
