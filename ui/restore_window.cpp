#include "restore_window.h"

#include "backup.h"
#include "busy_wait.h"
#include "file_chooser.h"
#include "guarded_rewrite.h"
#include "line_list.h"
#include "platform_files.h"
#include "platform_seam.h"
#include "restore_marks.h"
#include "text_rules.h"
#include "unikon_merge.h"
#include "user_guide.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dalvero {

namespace {

const char* const kAccessiblePrefix = "dalveroAccessiblePrefix";
const QString kPutBackCaption = QStringLiteral("Læg kopien &tilbage");

QString linesText(qsizetype count) {
    return count == 1 ? QStringLiteral("1 linje") : QStringLiteral("%1 linjer").arg(count);
}

QString comingBackText(qsizetype lines, qsizetype comingBack) {
    return linesText(lines) + QStringLiteral(", %1 kommer tilbage").arg(comingBack);
}

QString withoutMnemonic(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

// The dialog offers the one name the copy belongs to, where a filter can
// hold it: blanks part patterns and the wildcards would match others.
QString nameFilter(const QString& name) {
    const QString all = QStringLiteral("Alle filer (*)");
    if (name.contains(QRegularExpression(QStringLiteral("[\\s*?\\[\\]();]"))))
        return all;
    return QStringLiteral("UNIKON filen %1 (%1);;").arg(name) + all;
}

QLabel* wrappingLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

RestoreWindow::RestoreWindow(const QString& baseFolder, PlatformSeam& seam, FileChooser& chooser,
                             QWidget* parent)
    : QWidget(parent), m_baseFolder(baseFolder), m_seam(seam), m_chooser(chooser) {
    setObjectName(QStringLiteral("RestoreWindow"));
    setWindowTitle(QStringLiteral("Dalvero – læg kopi tilbage"));
    buildControls();
    describeForAccessibility();

    connect(m_copyTable, &QTreeWidget::currentItemChanged, this, &RestoreWindow::showCopy);
    connect(m_chooseFile, &QPushButton::clicked, this, &RestoreWindow::chooseFile);
    connect(m_putBack, &QPushButton::clicked, this, &RestoreWindow::putBack);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    const auto help = [this] { showUserGuide(this, m_seam); };
    connect(m_help, &QPushButton::clicked, this, help);
    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, this, help);

    listCopies();
    m_copyTable->setFocus();

    const QFontMetrics metrics(font());
    resize(sizeHint().expandedTo(QSize(metrics.averageCharWidth() * 110, metrics.height() * 34)));
    if (const QScreen* shownOn = screen()) {
        resize(size().boundedTo(shownOn->availableGeometry().size()));
        move(shownOn->availableGeometry().center() - rect().center());
    }
}

void RestoreWindow::buildControls() {
    m_prompt = wrappingLabel(QStringLiteral("Prompt"), this);
    QFont promptFont = font();
    promptFont.setBold(true);
    m_prompt->setFont(promptFont);

    m_copiesCaption = wrappingLabel(QStringLiteral("CopiesCaption"), this);
    m_copyTable = named(new QTreeWidget(this), "Copies");
    m_copyTable->setRootIsDecorated(false);
    m_copyTable->setItemsExpandable(false);
    m_copyTable->setUniformRowHeights(true);
    m_copyTable->setAllColumnsShowFocus(true);
    m_copyTable->setHeaderLabels(
        {QStringLiteral("Kopi"), QStringLiteral("Lavet"), QStringLiteral("Linjer")});
    m_copiesCaption->setBuddy(m_copyTable);

    m_chooseFile = named(new QPushButton(QStringLiteral("&Vælg UNIKON fil …"), this), "ChooseFile");
    m_chosenFile = wrappingLabel(QStringLiteral("ChosenFile"), this);
    m_chosenFile->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Headings rather than frame titles: a label is as wide as its text
    // needs, and its mnemonic takes the keys to the list.
    m_fileHeading = named(new QLabel(QStringLiteral("&UNIKON filen nu"), this), "FileHeading");
    m_fileLines = named(new LineList(this), "FileLines");
    m_fileCount = named(new QLabel(this), "FileCount");
    m_copyHeading = named(new QLabel(QStringLiteral("Kop&ien"), this), "CopyHeading");
    m_copyLines = named(new LineList(this), "CopyLines");
    m_copyCount = named(new QLabel(this), "CopyCount");
    // The longest count has its room from the start: text does not widen
    // evenly with the dpi, and at 175 % it outgrew the column.
    m_copyCount->setText(comingBackText(kMaxListEntries, kMaxListEntries));
    m_copyCount->setMinimumWidth(m_copyCount->minimumSizeHint().width());
    m_copyCount->clear();
    m_fileHeading->setBuddy(m_fileLines);
    m_copyHeading->setBuddy(m_copyLines);

    m_putBack = named(new QPushButton(kPutBackCaption, this), "PutBack");
    m_close = named(new QPushButton(QStringLiteral("&Luk"), this), "Close");
    m_help = named(new QPushButton(QStringLiteral("&Hjælp"), this), "Help");
    // Enter on the focused button presses it, as Space does; Qt does that by
    // itself only in dialogs. A character's width more than the style asks:
    // at 175 % (84 dpi at a factor of 2) the Windows style's margins shrink
    // while the theme's do not, and the caption had no room to spare.
    for (QPushButton* button : {m_chooseFile, m_putBack, m_close, m_help}) {
        button->setAutoDefault(true);
        button->setMinimumWidth(button->sizeHint().width() +
                                button->fontMetrics().averageCharWidth());
    }

    auto* fileColumn = new QVBoxLayout;
    fileColumn->addWidget(m_fileHeading);
    fileColumn->addWidget(m_fileLines);
    fileColumn->addWidget(m_fileCount);
    auto* copyColumn = new QVBoxLayout;
    copyColumn->addWidget(m_copyHeading);
    copyColumn->addWidget(m_copyLines);
    copyColumn->addWidget(m_copyCount);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_chooseFile);
    fileRow->addWidget(m_chosenFile, 1);
    auto* sideBySide = new QHBoxLayout;
    sideBySide->addLayout(fileColumn);
    sideBySide->addLayout(copyColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_putBack);
    buttons->addWidget(m_close);
    buttons->addWidget(m_help);

    auto* window = new QVBoxLayout(this);
    window->addWidget(m_prompt);
    window->addWidget(m_copiesCaption);
    window->addWidget(m_copyTable, 2);
    window->addLayout(fileRow);
    window->addLayout(sideBySide, 3);
    window->addLayout(buttons);

    QWidget::setTabOrder(m_copyTable, m_chooseFile);
    QWidget::setTabOrder(m_chooseFile, m_fileLines);
    QWidget::setTabOrder(m_fileLines, m_copyLines);
    QWidget::setTabOrder(m_copyLines, m_putBack);
    QWidget::setTabOrder(m_putBack, m_close);
    QWidget::setTabOrder(m_close, m_help);
}

void RestoreWindow::describeForAccessibility() {
    m_copyTable->setAccessibleName(QStringLiteral("Kopier"));
    m_chooseFile->setAccessibleName(withoutMnemonic(m_chooseFile->text()));
    m_putBack->setAccessibleName(withoutMnemonic(m_putBack->text()));
    m_close->setAccessibleName(withoutMnemonic(m_close->text()));
    m_help->setAccessibleName(withoutMnemonic(m_help->text()));
    m_fileLines->setAccessibleName(QStringLiteral("Linjer i UNIKON filen nu"));
    m_copyLines->setAccessibleName(QStringLiteral("Linjer i kopien"));
    m_chosenFile->setProperty(kAccessiblePrefix, QStringLiteral("Valgt UNIKON fil"));
    m_fileCount->setProperty(kAccessiblePrefix, QStringLiteral("Antal linjer i UNIKON filen nu"));
    m_copyCount->setProperty(kAccessiblePrefix, QStringLiteral("Antal linjer i kopien"));
    m_prompt->setProperty(kAccessiblePrefix, QStringLiteral("Vejledning"));
    for (QLabel* each : {m_prompt, m_copiesCaption, m_chosenFile, m_fileHeading, m_fileCount,
                         m_copyHeading, m_copyCount})
        setCaption(each, each->text());
}

void RestoreWindow::setCaption(QLabel* label, const QString& text) {
    label->setText(text);
    const QString prefix = label->property(kAccessiblePrefix).toString();
    const QString shown = withoutMnemonic(text);
    if (prefix.isEmpty())
        label->setAccessibleName(shown);
    else
        label->setAccessibleName(shown.isEmpty() ? prefix : prefix + QStringLiteral(": ") + shown);
}

const BackupCopy* RestoreWindow::currentCopy() const {
    const QModelIndex current = m_copyTable->currentIndex();
    const int row = current.isValid() ? current.row() : -1;
    return row >= 0 && row < m_copies.size() ? &m_copies[row] : nullptr;
}

void RestoreWindow::listCopies(const QString& keptPath) {
    const QString folder = backupFolder(m_baseFolder);
    const Result<QList<BackupCopy>> listed = listBackupCopies(folder);
    m_copies = listed ? listed.value() : QList<BackupCopy>();

    const QSignalBlocker quiet(m_copyTable);
    m_copyTable->clear();
    const QLocale locale = QLocale::system();
    QTreeWidgetItem* kept = nullptr;
    for (const BackupCopy& copy : m_copies) {
        // The day the name gives; the file's time only for a name that gives none.
        const QString made = copy.name.date.isValid()
                                 ? locale.toString(copy.name.date, QLocale::ShortFormat)
                                 : locale.toString(copy.fileTime, QLocale::ShortFormat);
        auto* item = new QTreeWidgetItem(
            m_copyTable, {copy.fileName, made,
                          copy.lineCount ? QString::number(*copy.lineCount) : QStringLiteral("?")});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        if (copy.path == keptPath)
            kept = item;
    }
    for (int column = 0; column < m_copyTable->columnCount(); ++column)
        m_copyTable->resizeColumnToContents(column);

    if (!listed) {
        setCaption(m_copiesCaption, QStringLiteral("&Kopier"));
        setCaption(m_prompt, QStringLiteral("Der er ingen kopier at lægge tilbage.\n%1: %2")
                                 .arg(listed.failure().reason, folder));
    } else if (m_copies.isEmpty()) {
        setCaption(m_copiesCaption, QStringLiteral("&Kopier i %1").arg(folder));
        setCaption(m_prompt, QStringLiteral("Der er ingen kopier at lægge tilbage.\n"
                                            "Mappen er tom: %1")
                                 .arg(folder));
    } else {
        setCaption(m_copiesCaption, QStringLiteral("&Kopier i %1, den nyeste øverst").arg(folder));
    }
    m_copyTable->setCurrentItem(kept ? kept : m_copyTable->topLevelItem(0));
    showCopy();
}

void RestoreWindow::showCopy() {
    m_copyLines->clear();
    m_copyBytes.reset();
    const BackupCopy* copy = currentCopy();
    m_chooseFile->setEnabled(copy != nullptr);
    if (!copy) {
        forgetFile();
        showChanges();
        return;
    }
    const Result<QByteArray> bytes =
        readChosenFile(copy->path, QStringLiteral("Kunne ikke læse kopien"));
    if (!bytes) {
        m_chooseFile->setEnabled(false);
        showChanges();
        m_seam.showFailure(this, bytes.failure());
        return;
    }
    m_copyBytes = bytes.value();
    m_copyLines->addLines(splitLines(*m_copyBytes));
    // A file chosen for a copy of another file does not take this one.
    if (!m_filePath.isEmpty() && !isFileOf(*copy, m_filePath))
        forgetFile();
    showChanges();
}

bool RestoreWindow::isFileOf(const BackupCopy& copy, const QString& path) {
    return QFileInfo(path).fileName().compare(copy.name.unikonName, platform::fileNameCase()) == 0;
}

void RestoreWindow::chooseFile() {
    const BackupCopy* copy = currentCopy();
    if (!copy)
        return;
    const QString name = copy->name.unikonName;
    const QString folder =
        m_filePath.isEmpty() ? QDir::currentPath() : QFileInfo(m_filePath).absolutePath();
    const QString path = m_chooser.chooseFile(
        this, QStringLiteral("Vælg UNIKON filen %1").arg(name), folder, nameFilter(name));
    if (path.isEmpty())
        return;
    showFile(path);
    showChanges();
}

void RestoreWindow::showFile(const QString& path, bool report) {
    forgetFile();
    const BackupCopy* copy = currentCopy();
    if (!copy)
        return;
    const QString readWhat = QStringLiteral("Kunne ikke læse UNIKON-filen");
    // A shortcut is refused as "Dan fil" refuses it, whatever its name.
    const Result<QString> file = platform::resolveChosenFile(path, readWhat);
    if (!file) {
        if (report)
            m_seam.showFailure(this, file.failure());
        return;
    }
    if (!isFileOf(*copy, file.value())) {
        const QString chosenName = QFileInfo(file.value()).fileName();
        if (report)
            m_seam.showMessage(this, QStringLiteral("Kopien %1 hører til filen %2, ikke til %3.\n\n"
                                                    "Vælg filen %2.")
                                         .arg(copy->fileName, copy->name.unikonName, chosenName));
        return;
    }
    // A file gone missing (a replace that broke off) takes the copy as it is.
    if (!QFileInfo::exists(file.value()) && !QFileInfo(file.value()).isSymLink()) {
        m_filePath = file.value();
        m_fileMissing = true;
        setCaption(m_chosenFile, m_filePath + QStringLiteral(" (findes ikke)"));
        return;
    }
    // Through a link, the file could be the copy itself, which is never changed.
    const QString target = QFileInfo(file.value()).canonicalFilePath();
    if (!target.isEmpty() && target == QFileInfo(copy->path).canonicalFilePath()) {
        if (report)
            m_seam.showFailure(
                this,
                Failure{
                    QStringLiteral("Kopien kan ikke lægges tilbage over filen"), file.value(),
                    QStringLiteral("Det er selve kopien i %1").arg(backupFolder(m_baseFolder))});
        return;
    }
    const Result<UnikonFile> read = readUnikonFile(file.value());
    if (!read) {
        if (report)
            m_seam.showFailure(this, read.failure());
        return;
    }
    m_filePath = file.value();
    m_fileBytes = read.value().bytes;
    m_fileLines->addLines(read.value().lines);
    setCaption(m_chosenFile, m_filePath);
}

void RestoreWindow::forgetFile() {
    m_filePath.clear();
    m_fileBytes.clear();
    m_fileMissing = false;
    m_fileLines->clear();
    setCaption(m_chosenFile, QString());
}

void RestoreWindow::showChanges() {
    const BackupCopy* copy = currentCopy();
    const bool ready = copy && m_copyBytes && !m_filePath.isEmpty();
    // Once the file is as the copy, there is nothing to put back.
    const bool same = ready && !m_fileMissing && m_fileBytes == *m_copyBytes;
    m_putBack->setEnabled(ready && !same);
    if (!copy) {
        setCaption(m_copyCount, QString());
        setCaption(m_fileCount, QString());
        return;
    }
    if (!ready) {
        m_fileLines->setMarks({});
        m_copyLines->setMarks({});
        setCaption(m_copyCount, linesText(m_copyLines->count()));
        setCaption(m_fileCount, QString());
        setCaption(m_prompt, QStringLiteral("Vælg den kopi, du vil lægge tilbage, og klik på "
                                            "'Vælg UNIKON fil' for at vælge filen %1")
                                 .arg(copy->name.unikonName));
        return;
    }
    const RestoreMarks marks = markRestore(m_fileLines->lines(), m_copyLines->lines());
    m_fileLines->setMarks(marks.fileLines);
    m_copyLines->setMarks(marks.copyLines);
    setCaption(m_fileCount, linesText(m_fileLines->count()) +
                                QStringLiteral(", %1 forsvinder").arg(marks.going));
    setCaption(m_copyCount, comingBackText(m_copyLines->count(), marks.comingBack));
    if (same) {
        setCaption(m_prompt,
                   QStringLiteral("Filen er allerede som kopien %1.").arg(copy->fileName));
        return;
    }
    // What would refuse the rewrite is told now, not only after the click.
    if (Status refused = checkRewritable(m_filePath, {})) {
        setCaption(m_prompt, QStringLiteral("Filen kan ikke skrives lige nu: %1\n"
                                            "Ret det, og klik så på '%2'")
                                 .arg(refused->reason, withoutMnemonic(kPutBackCaption)));
        return;
    }
    setCaption(m_prompt, QStringLiteral("Se ændringerne efter, og klik på '%1'")
                             .arg(withoutMnemonic(kPutBackCaption)));
}

void RestoreWindow::putBack() {
    const BackupCopy* copy = currentCopy();
    if (!copy || m_filePath.isEmpty() || !m_copyBytes)
        return;
    const BackupCopy chosen = *copy;
    const QString file = m_filePath;
    const GuardedRewrite job{
        .chosenPath = file,
        .shownBytes = m_fileMissing ? std::nullopt : std::optional(m_fileBytes),
        .backupPath = backupPath(m_baseFolder, QFileInfo(file).fileName(), m_seam.todayText()),
        .newBytes = *m_copyBytes,
        .whenChanged = QStringLiteral("Den vises nu, som den er.")};
    const Result<Rewritten> written = [&] {
        BusyWait busy(
            this, [this](const QString& text) { setCaption(m_prompt, text); }, m_prompt->text());
        return rewriteGuarded(job, std::ref(busy));
    }();

    // The list shows any new backup; the file is shown as it is now.
    listCopies(chosen.path);
    showFile(file, false);
    showChanges();
    if (!written) {
        m_seam.showFailure(this, written.failure());
        return;
    }
    if (written.value().backup.isEmpty()) {
        setCaption(m_prompt, QStringLiteral("Kopien %1 er lagt tilbage.").arg(chosen.fileName));
        m_seam.showMessage(
            this, QStringLiteral("Kopien %1 er lagt tilbage som %2.").arg(chosen.fileName, file));
        return;
    }
    setCaption(m_prompt, QStringLiteral("Kopien %1 er lagt tilbage. Filen, som den var lige før, "
                                        "står øverst i listen.")
                             .arg(chosen.fileName));
    m_seam.showMessage(this, QStringLiteral("Kopien %1 er lagt tilbage over %2.\n\n"
                                            "Filen, som den var lige før, ligger i %3.")
                                 .arg(chosen.fileName, file, written.value().backup));
}

} // namespace dalvero
