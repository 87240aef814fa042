// The event handlers of MainWindow: the picker steps and the operations of the
// workflow, each a straight run of steps over the controls.
#include "main_window.h"

#include "busy_wait.h"
#include "conversion/backup.h"
#include "conversion/export_file.h"
#include "conversion/guarded_rewrite.h"
#include "conversion/merge_marks.h"
#include "conversion/text_rules.h"
#include "conversion/unikon_merge.h"
#include "conversion/year_list.h"
#include "drive_list.h"
#include "file_list.h"
#include "folder_list.h"
#include "line_list.h"
#include "line_marks.h"
#include "pigeon_list.h"
#include "virtual_store_notice.h"
#include "window_parts.h"
#include "window_services.h"
#include "year_combo.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace dalvero {

void MainWindow::fail(const Failure& failure) {
    m_seam.showFailure(this, failure);
}

void MainWindow::openFolder(FolderList& folders, const QString& folder) {
    if (Status failed = folders.setPath(folder))
        fail(*failed);
}

// A new drive shows its current folder in the chain's folder list. A drive
// that is not ready, or does not answer in time, is only reported: nothing
// has been done yet, so the user keeps the work of this run and the list
// goes back to the drive it showed.
void MainWindow::driveChanged(DriveList& drives, FolderList& folders) {
    const Result<DriveList::Opened> opened = drives.currentFolder(m_prompt);
    if (!opened) {
        m_seam.showFailure(this, opened.failure());
        drives.returnToShown();
        return;
    }
    drives.keepShown();
    if (Status failed = folders.setPath(opened.value().folder, opened.value().subfolders))
        fail(*failed);
}

// A new folder lists its files in the chain's file list.
void MainWindow::folderChanged(const FolderList& folders, FileList& files) {
    if (Status failed = files.setPath(folders.path()))
        fail(*failed);
}

void MainWindow::openExportFolder(const QString& folder) {
    openFolder(*m_exportFolders, folder);
}
void MainWindow::openUnikonFolder(const QString& folder) {
    openFolder(*m_unikonFolders, folder);
}
void MainWindow::exportDriveChanged() {
    driveChanged(*m_exportDrives, *m_exportFolders);
}
void MainWindow::exportFolderChanged() {
    folderChanged(*m_exportFolders, *m_exportFiles);
}
void MainWindow::unikonDriveChanged() {
    driveChanged(*m_unikonDrives, *m_unikonFolders);
}
void MainWindow::unikonFolderChanged() {
    folderChanged(*m_unikonFolders, *m_unikonFiles);
}

void MainWindow::loadExportFile() {
    if (m_exportFiles->listIndex() < 0)
        return;
    const QString path =
        joinPath(m_exportFolders->path(), m_exportFiles->list(m_exportFiles->listIndex()));
    Result<ExportFile> loaded = dalvero::loadExportFile(path, m_pigeonList->count());
    if (!loaded)
        return fail(loaded.failure());
    const ExportFile& file = loaded.value();

    if (file.header)
        setCaption(m_exportHeader, toDisplay(*file.header));
    m_pigeonList->addLines(file.records);
    // Earlier entries too, also those the user had deselected since.
    m_pigeonList->selectAll();
    if (m_pigeonList->count() > 0)
        m_pigeonList->setListIndex(0);
    m_yearCodes->setEnabled(true);
    m_unikonPickers->setEnabled(true);
    m_yearCodes->addCodes(newYearCodes(m_yearCodes->codes(), m_pigeonList->lines()));
    m_deselection->setEnabled(true);
    setCaption(m_prompt, QStringLiteral("Fravælg evt. duer og vælg unikon fil"));
}

void MainWindow::deselectYear() {
    m_oldList->clear();
    m_newList->clear();
    // Text that no file can hold is no year code: every pigeon stays selected.
    const std::optional<QByteArray> picked = m_yearCodes->textBytes();
    if (!picked) {
        m_pigeonList->selectAll();
        return;
    }
    m_pigeonList->setSelection(selectionAfterYearPick(m_pigeonList->lines(), *picked));
}

void MainWindow::resetLists() {
    if (m_yearBox->isChecked())
        return;
    m_yearCodes->setEnabled(false);
    m_yearCodes->clearAll();
    m_pigeonList->clear();
    m_oldList->clear();
    m_newList->clear();
    m_yearCodes->setEnabled(true);
}

void MainWindow::mergeUnikonFile() {
    if (m_unikonFiles->listIndex() < 0)
        return;
    // Another copy that Windows keeps for old programs is told of first; the
    // one the user picks is shown in the lists, so that the merge, the copy
    // in UNI_KOP and "Dan fil" all name it.
    const QString clicked =
        joinPath(m_unikonFolders->path(), m_unikonFiles->list(m_unikonFiles->listIndex()));
    const std::optional<QString> chosen = fileToWorkOn(this, m_seam, clicked);
    if (!chosen)
        return;
    if (*chosen != clicked) {
        if (Status failed = showInLists(*m_unikonFolders, *m_unikonFiles, *chosen))
            return fail(*failed);
    }
    const QString folder = m_unikonFolders->path();
    const QString name = m_unikonFiles->list(m_unikonFiles->listIndex());
    const QString path = joinPath(folder, name);

    // Both read and merged before a list changes: a failure leaves the
    // window as it was.
    const Result<UnikonFile> old = readUnikonFile(path);
    if (!old)
        return fail(old.failure());
    const Result<MergedUnikon> merged =
        mergeUnikon(m_pigeonList->lines(), m_pigeonList->selection(), old.value().lines, path);
    if (!merged)
        return fail(merged.failure());

    m_oldList->clear();
    m_newList->clear();
    m_oldList->addLines(old.value().lines);
    setCaption(m_oldCount, QString::number(m_oldList->count()));
    m_newList->addLines(merged.value().lines);
    setCaption(m_newCount, QString::number(m_newList->count()));

    // What the new file changes, shown on the lines and in the counts' tooltips.
    const MergeMarks marks = markMerge(merged.value().sources, m_oldList->count());
    m_oldList->setMarks(marks.oldLines);
    m_newList->setMarks(marks.newLines);
    setCountTooltip(m_oldCount, oldCountBreakdown(m_oldList->count(), marks));
    setCountTooltip(m_newCount, newCountBreakdown(m_newList->count(), marks));
    m_mergedFolder = folder;
    m_mergedName = name;
    m_mergedBytes = old.value().bytes;
    m_danFil->setEnabled(true);
    setCaption(m_prompt, QStringLiteral("Er det OK, klik på 'Dan fil'"));
}

void MainWindow::writeUnikonFile() {
    // The new list is written only over the file it was built from: after a
    // single click on another member's file, or a change of folder, the user
    // has to build the list again.
    const int current = m_unikonFiles->listIndex();
    if (current < 0 || m_unikonFiles->path() != m_unikonFolders->path() ||
        m_unikonFolders->path() != m_mergedFolder || m_unikonFiles->list(current) != m_mergedName) {
        m_seam.showMessage(this, QStringLiteral("Dobbeltklik på UNIKON filen igen"));
        return;
    }
    const QString name = m_unikonFiles->list(current);
    const bool emptyList = m_newList->count() == 0;
    const GuardedRewrite job{
        .chosenPath = joinPath(m_unikonFolders->path(), name),
        .shownBytes = m_mergedBytes,
        .backupPath = backupPath(m_baseFolder, name, m_seam.todayText()),
        .newBytes = emptyList ? std::nullopt : std::optional(joinLines(m_newList->lines())),
        .whenChanged = QStringLiteral("Dobbeltklik på UNIKON filen igen, så den nye liste "
                                      "bygges af filen, som den er nu.")};
    const Result<Rewritten> written = rewriteWhileBusy(this, m_prompt, job);
    if (!written)
        return fail(written.failure());
    if (emptyList) {
        m_danFil->setEnabled(false);
        return;
    }
    m_deselection->setEnabled(false);
    m_unikonPickers->setEnabled(false);
    m_pigeonList->clear();
    m_yearCodes->clearAll();
    // Unticking runs the list reset, nested here, when the box was ticked.
    m_yearBox->setChecked(false);
    m_seam.showMessage(this, QStringLiteral("Fil skrevet, program lukkes"));
    m_ended = true;
    m_seam.endProgram(0);
}

} // namespace dalvero
