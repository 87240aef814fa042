#include "restore_window.h"

#include "busy_wait.h"
#include "conversion/backup.h"
#include "conversion/guarded_rewrite.h"
#include "conversion/restore_marks.h"
#include "conversion/text_rules.h"
#include "file_chooser.h"
#include "line_list.h"
#include "user_guide.h"
#include "virtual_store_notice.h"
#include "window_parts.h"
#include "window_services.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dalvero {

namespace {

const QString kPutBackCaption = QStringLiteral("Læg kopien &tilbage");

QString linesText(qsizetype count) {
    return count == 1 ? QStringLiteral("1 linje") : QStringLiteral("%1 linjer").arg(count);
}

QString comingBackText(qsizetype lines, qsizetype comingBack) {
    return linesText(lines) + QStringLiteral(", %1 kommer tilbage").arg(comingBack);
}

QLabel* wrappingLabel(const char* name, QWidget* parent) {
    auto* label = named(new QLabel(parent), name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

} // namespace

RestoreWindow::RestoreWindow(const QString& baseFolder, WindowServices& seam, FileChooser& chooser,
                             QWidget* parent)
    : QWidget(parent), m_baseFolder(baseFolder), m_seam(seam), m_chooser(chooser) {
    setObjectName(QStringLiteral("RestoreWindow"));
    setWindowTitle(kRestoreTitle);
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
    centreOnScreen(this);
}

void RestoreWindow::buildControls() {
    m_prompt = wrappingLabel("Prompt", this);
    QFont promptFont = font();
    promptFont.setBold(true);
    m_prompt->setFont(promptFont);

    m_copiesCaption = wrappingLabel("CopiesCaption", this);
    m_copyTable = named(new QTreeWidget(this), "Copies");
    m_copyTable->setRootIsDecorated(false);
    m_copyTable->setItemsExpandable(false);
    m_copyTable->setUniformRowHeights(true);
    m_copyTable->setAllColumnsShowFocus(true);
    m_copyTable->setHeaderLabels(
        {QStringLiteral("Kopi"), QStringLiteral("Lavet"), QStringLiteral("Linjer")});
    m_copiesCaption->setBuddy(m_copyTable);

    m_chooseFile = named(new QPushButton(QStringLiteral("&Vælg UNIKON fil …"), this), "ChooseFile");
    m_chosenFile = wrappingLabel("ChosenFile", this);
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
    setUpButtons({m_chooseFile, m_putBack, m_close, m_help});
    // A character's width more than the style asks: at 175 % (84 dpi at a
    // factor of 2) the Windows style's margins shrink while the theme's do
    // not, and the caption had no room to spare.
    for (QPushButton* button : {m_chooseFile, m_putBack, m_close, m_help})
        button->setMinimumWidth(button->sizeHint().width() +
                                button->fontMetrics().averageCharWidth());

    const auto box = [](QBoxLayout* layout, std::initializer_list<QWidget*> widgets) {
        for (QWidget* widget : widgets)
            layout->addWidget(widget);
        return layout;
    };
    QBoxLayout* fileRow = box(new QHBoxLayout, {m_chooseFile, m_chosenFile});
    fileRow->setStretch(1, 1);
    auto* sideBySide = new QHBoxLayout;
    sideBySide->addLayout(box(new QVBoxLayout, {m_fileHeading, m_fileLines, m_fileCount}));
    sideBySide->addLayout(box(new QVBoxLayout, {m_copyHeading, m_copyLines, m_copyCount}));
    QBoxLayout* buttons = box(new QHBoxLayout, {m_putBack, m_close, m_help});
    buttons->insertStretch(0, 1);

    auto* window = new QVBoxLayout(this);
    window->addWidget(m_prompt);
    window->addWidget(m_copiesCaption);
    window->addWidget(m_copyTable, 2);
    window->addLayout(fileRow);
    window->addLayout(sideBySide, 3);
    window->addLayout(buttons);

    setTabChain({m_copyTable, m_chooseFile, m_fileLines, m_copyLines, m_putBack, m_close, m_help});
}

void RestoreWindow::describeForAccessibility() {
    m_copyTable->setAccessibleName(QStringLiteral("Kopier"));
    m_fileLines->setAccessibleName(QStringLiteral("Linjer i UNIKON filen nu"));
    m_copyLines->setAccessibleName(QStringLiteral("Linjer i kopien"));
    setAccessiblePrefix(m_chosenFile, QStringLiteral("Valgt UNIKON fil"));
    setAccessiblePrefix(m_fileCount, QStringLiteral("Antal linjer i UNIKON filen nu"));
    setAccessiblePrefix(m_copyCount, QStringLiteral("Antal linjer i kopien"));
    setAccessiblePrefix(m_prompt, QStringLiteral("Vejledning"));
    for (QLabel* each : {m_prompt, m_copiesCaption, m_chosenFile, m_fileHeading, m_fileCount,
                         m_copyHeading, m_copyCount})
        setCaption(each, each->text());
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
    if (m_target && !isFileOf(*copy, m_target->path))
        forgetFile();
    showChanges();
}

void RestoreWindow::chooseFile() {
    const BackupCopy* copy = currentCopy();
    if (!copy)
        return;
    const QString name = copy->name.unikonName;
    const QString folder =
        m_target ? QFileInfo(m_target->path).absolutePath() : QDir::currentPath();
    const QString path = m_chooser.chooseFile(
        this, QStringLiteral("Vælg UNIKON filen %1").arg(name), folder, nameFilter(name));
    // None when nothing was chosen; another copy that Windows keeps for old
    // programs is told of first.
    const std::optional<QString> chosen = fileToWorkOn(this, m_seam, path);
    if (!chosen)
        return;
    showFile(checkRestoreTarget(*copy, *chosen, backupFolder(m_baseFolder)));
    showChanges();
}

void RestoreWindow::showFile(const TargetCheck& checked, bool report) {
    forgetFile();
    if (const auto* target = std::get_if<RestoreTarget>(&checked)) {
        m_target = *target;
        if (target->file)
            m_fileLines->addLines(target->file->lines);
        setCaption(m_chosenFile,
                   target->path + (target->file ? QString() : QStringLiteral(" (findes ikke)")));
    } else if (const auto* failure = std::get_if<Failure>(&checked); failure && report) {
        m_seam.showFailure(this, *failure);
    } else if (report) {
        m_seam.showMessage(this, std::get<ChooseAnother>(checked).advice);
    }
}

void RestoreWindow::forgetFile() {
    m_target.reset();
    m_fileLines->clear();
    setCaption(m_chosenFile, QString());
}

void RestoreWindow::showChanges() {
    const BackupCopy* copy = currentCopy();
    const bool ready = copy && m_copyBytes && m_target;
    // Once the file is as the copy, there is nothing to put back.
    const bool same = ready && m_target->file && m_target->file->bytes == *m_copyBytes;
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
    if (Status refused = checkRewritable(m_target->path, {})) {
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
    if (!copy || !m_target || !m_copyBytes)
        return;
    const BackupCopy chosen = *copy;
    // Resolved when it was chosen: the rewrite and the file shown afterwards
    // take the same path.
    const RestoreTarget target = *m_target;
    const QString& file = target.path;
    const GuardedRewrite job{
        .chosenPath = file,
        .shownBytes = target.file ? std::optional(target.file->bytes) : std::nullopt,
        .backupPath = backupPath(m_baseFolder, QFileInfo(file).fileName(), m_seam.todayText()),
        .newBytes = *m_copyBytes,
        .whenChanged = QStringLiteral("Den vises nu, som den er.")};
    const Result<Rewritten> written = rewriteWhileBusy(this, m_prompt, job);

    // The list shows any new backup; the file is shown as it is now.
    listCopies(chosen.path);
    if (const BackupCopy* shown = currentCopy())
        showFile(checkRestoreTarget(*shown, target, backupFolder(m_baseFolder)), false);
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
