#include "main_window.h"

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
template <typename... Args> auto MainWindow::whileRunning(void (MainWindow::*handler)(Args...)) {
    return [this, handler](Args... args) {
        if (!m_ended)
            (this->*handler)(args...);
    };
}

MainWindow::MainWindow(const QString& baseFolder, WindowServices& seam, QWidget* parent)
    : QWidget(parent), m_baseFolder(baseFolder), m_seam(seam) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kWindowTitle);
    setFont(windowFont());
    buildControls();
    setTabOrder();
    describeForAccessibility();

    // The starting state: only the export pickers can be used.
    m_danFil->setEnabled(false);
    m_deselection->setEnabled(false);
    m_unikonPickers->setEnabled(false);
    m_yearCodes->setEnabled(false);

    wireEvents();
    openStartFolders();

    const Twips twips(*this);
    setFixedSize(twips.pixels(kClientWidth), twips.pixels(kClientHeight));
    centreOnScreen(this);
}

void MainWindow::buildControls() {
    const Twips twips(*this);
    // Asked of the system once for both lists at start (a network drive that
    // is gone answers slowly); each list asks again when the user opens it.
    const QList<drives::Drive> machineDrives = drives::all();

    m_prompt = place(label(this, QStringLiteral("VÆLG EKSPORTFIL med dobbelltklik")), "Label5",
                     twips, 240, 240, 4695, 375);
    m_prompt->setFont(promptFont());
    m_exportHeader = place(label(this, QString()), "Label4", twips, 5880, 240, 6495, 375);

    m_exportPickers = place(new QGroupBox(QStringLiteral("Vælg Eksportfil"), this), "Frame4", twips,
                            120, 840, 3015, 4815);
    m_exportDrives =
        place(new DriveList(machineDrives, m_exportPickers), "Drive3", twips, 240, 360, 2535, 315);
    m_exportFolders = place(new FolderList(m_exportPickers), "Dir3", twips, 240, 840, 2535, 1440);
    m_exportFilesCaption =
        place(label(m_exportPickers, QStringLiteral("Dobbelt klik aktuel Eksportfil.")), "Label3",
              twips, 240, 2520, 2535, 375);
    m_exportFiles = place(new FileList(QStringLiteral("*.txt"), m_exportPickers), "File2", twips,
                          240, 3000, 2535, 1650);

    m_deselection = place(new QGroupBox(QStringLiteral("Fravælg evt duer"), this), "Frame2", twips,
                          3240, 840, 3015, 4815);
    m_yearBox = place(new QCheckBox(QStringLiteral("Fravælg evt. en årgang"), m_deselection),
                      "Check1", twips, 120, 360, 2055, 255);
    // The caption was measured for a narrower font; let the box grow to show
    // all of it, up to the frame's edge, rather than cut it off.
    m_yearBox->resize(qBound(m_yearBox->width(), m_yearBox->sizeHint().width(), twips.pixels(2775)),
                      m_yearBox->height());
    m_yearCodes = place(new YearCombo(m_deselection), "Combo2", twips, 120, 720, 2775, 315);
    m_pigeonList = place(new PigeonList(m_deselection), "List1", twips, 120, 1200, 2775, 3435);

    m_unikonPickers = place(new QGroupBox(QStringLiteral("Vælg UNI fil"), this), "uni_fil", twips,
                            6360, 840, 3015, 4815);
    m_unikonDrives =
        place(new DriveList(machineDrives, m_unikonPickers), "Drive1", twips, 240, 360, 2535, 315);
    m_unikonFolders = place(new FolderList(m_unikonPickers), "Dir1", twips, 240, 840, 2535, 1440);
    m_unikonFilesCaption =
        place(label(m_unikonPickers,
                    QStringLiteral("Dobbelt klik aktuel UNIKON fil ender på medlems nr.")),
              "Label2", twips, 240, 2400, 2535, 495);
    m_unikonFiles = place(new FileList(QStringLiteral("z*.*"), m_unikonPickers), "File1", twips,
                          240, 2880, 2535, 1650);

    m_oldListFrame = place(new QGroupBox(QStringLiteral("GL UNIKON FIL"), this), "Frame1", twips,
                           9480, 840, 3135, 2055);
    m_oldList = place(new LineList(m_oldListFrame), "List2", twips, 120, 240, 2895, 1230);
    m_oldCountCaption =
        place(label(m_oldListFrame, kCountCaption), "Label1(4)", twips, 480, 1680, 975, 255);
    m_oldCount = place(label(m_oldListFrame, QString()), "Label1(5)", twips, 1920, 1680, 735, 255);

    m_newListFrame = place(new QGroupBox(QStringLiteral("NY UNIKON FIL"), this), "Frame3", twips,
                           9480, 3000, 3135, 2295);
    m_newList = place(new LineList(m_newListFrame), "List3", twips, 120, 240, 2895, 1425);
    m_newCountCaption =
        place(label(m_newListFrame, kCountCaption), "Label1(0)", twips, 480, 1800, 975, 255);
    m_newCount = place(label(m_newListFrame, QString()), "Label1(1)", twips, 1680, 1800, 735, 255);

    m_danFil = place(new QPushButton(QStringLiteral("Dan fil"), this), "Command1", twips, 10320,
                     5400, 1455, 255);
    setUpButtons({m_danFil});
    // A style that keeps a margin inside the bevel (Windows' does) has no room
    // for the caption at the laid-out height; let the button grow downwards
    // to the height the style asks, up to the window's lower edge, rather than
    // cut the caption off.
    m_danFil->resize(m_danFil->width(), qBound(m_danFil->height(), m_danFil->sizeHint().height(),
                                               twips.pixels(kClientHeight) - m_danFil->y()));

    m_exportFilesCaption->setBuddy(m_exportFiles);
    m_unikonFilesCaption->setBuddy(m_unikonFiles);
}

void MainWindow::setTabOrder() {
    setTabChain({m_unikonFiles, m_unikonFolders, m_unikonDrives, m_pigeonList, m_yearBox,
                 m_yearCodes, m_oldList, m_newList, m_danFil, m_exportDrives, m_exportFolders,
                 m_exportFiles});
}

void MainWindow::describeForAccessibility() {
    const auto name = [](QWidget* widget, const QString& text) { widget->setAccessibleName(text); };
    name(m_exportPickers, m_exportPickers->title());
    name(m_deselection, m_deselection->title());
    name(m_unikonPickers, m_unikonPickers->title());
    name(m_oldListFrame, m_oldListFrame->title());
    name(m_newListFrame, m_newListFrame->title());
    name(m_yearBox, m_yearBox->text());
    name(m_exportDrives, QStringLiteral("Drev for eksportfil"));
    name(m_exportFolders, QStringLiteral("Mappe for eksportfil"));
    name(m_exportFiles, QStringLiteral("Eksportfiler"));
    name(m_unikonDrives, QStringLiteral("Drev for UNIKON fil"));
    name(m_unikonFolders, QStringLiteral("Mappe for UNIKON fil"));
    name(m_unikonFiles, QStringLiteral("UNIKON filer"));
    name(m_yearCodes, QStringLiteral("Årgang"));
    name(m_pigeonList, QStringLiteral("Dueliste"));
    name(m_oldList, QStringLiteral("Gammel UNIKON liste"));
    name(m_newList, QStringLiteral("Ny UNIKON liste"));

    // A label's name is what it shows; the ones that start empty also say
    // what they show.
    setAccessiblePrefix(m_exportHeader, QStringLiteral("Eksportfilens hoved"));
    setAccessiblePrefix(m_oldCount, QStringLiteral("Antal duer i gammel UNIKON fil"));
    setAccessiblePrefix(m_newCount, QStringLiteral("Antal duer i ny UNIKON fil"));
    for (QLabel* each : {m_prompt, m_exportHeader, m_exportFilesCaption, m_unikonFilesCaption,
                         m_oldCountCaption, m_oldCount, m_newCountCaption, m_newCount})
        setCaption(each, each->text());
}

void MainWindow::setCountTooltip(QLabel* label, const QString& text) {
    label->setToolTip(text);
    label->setAccessibleDescription(text);
}

void MainWindow::wireEvents() {
    connect(m_exportDrives, &DriveList::driveChanged, this,
            whileRunning(&MainWindow::exportDriveChanged));
    connect(m_exportFolders, &FolderList::openRequested, this,
            whileRunning(&MainWindow::openExportFolder));
    connect(m_exportFolders, &FolderList::pathChanged, this,
            whileRunning(&MainWindow::exportFolderChanged));
    connect(m_exportFiles, &FileList::fileClicked, this, whileRunning(&MainWindow::loadExportFile));

    connect(m_yearCodes, &YearCombo::picked, this, whileRunning(&MainWindow::deselectYear));
    // toggled, unlike clicked, also follows a change of the box made by code.
    connect(m_yearBox, &QCheckBox::toggled, this, whileRunning(&MainWindow::resetLists));

    connect(m_unikonDrives, &DriveList::driveChanged, this,
            whileRunning(&MainWindow::unikonDriveChanged));
    connect(m_unikonFolders, &FolderList::openRequested, this,
            whileRunning(&MainWindow::openUnikonFolder));
    connect(m_unikonFolders, &FolderList::pathChanged, this,
            whileRunning(&MainWindow::unikonFolderChanged));
    connect(m_unikonFiles, &FileList::fileDoubleClicked, this,
            whileRunning(&MainWindow::mergeUnikonFile));

    connect(m_danFil, &QPushButton::clicked, this, whileRunning(&MainWindow::writeUnikonFile));

    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, this,
            whileRunning(&MainWindow::showHelp));
}

void MainWindow::showHelp() {
    showUserGuide(this, m_seam);
}

void MainWindow::openStartFolders() {
    // Both chains start at the process's current folder, whatever the base
    // folder is; a folder that cannot be shown is reported.
    const QString current = QDir::toNativeSeparators(QDir::currentPath());
    for (const auto open : {&MainWindow::openExportFolder, &MainWindow::openUnikonFolder})
        whileRunning(open)(current);
}

} // namespace dalvero
