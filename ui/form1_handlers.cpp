// The event handlers of Form1: the picker steps and the operations of the
// workflow, each a straight run of steps over the controls.
#include "form1.h"

#include "backup.h"
#include "busy_wait.h"
#include "drive_list.h"
#include "export_file.h"
#include "file_list.h"
#include "folder_list.h"
#include "guarded_rewrite.h"
#include "line_list.h"
#include "line_marks.h"
#include "merge_marks.h"
#include "pigeon_list.h"
#include "platform_seam.h"
#include "text_rules.h"
#include "unikon_merge.h"
#include "virtual_store_notice.h"
#include "window_parts.h"
#include "year_combo.h"
#include "year_list.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace dalvero {

void Form1::fail(const Failure& failure) {
    m_seam.showFailure(this, failure);
}

void Form1::openFolder(FolderList& folders, const QString& folder) {
    if (Status failed = folders.setPath(folder))
        fail(*failed);
}

// A new drive shows its current folder in the chain's folder list. A drive
// that is not ready, or does not answer in time, is only reported: nothing
// has been done yet, so the user keeps the work of this run and the list
// goes back to the drive it showed.
void Form1::driveChange(DriveList& drives, FolderList& folders) {
    const Result<DriveList::Opened> opened = drives.currentFolder(m_label5);
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
void Form1::dirChange(const FolderList& folders, FileList& files) {
    if (Status failed = files.setPath(folders.path()))
        fail(*failed);
}

void Form1::dir3Open(const QString& folder) {
    openFolder(*m_dir3, folder);
}
void Form1::dir1Open(const QString& folder) {
    openFolder(*m_dir1, folder);
}
void Form1::drive3Change() {
    driveChange(*m_drive3, *m_dir3);
}
void Form1::dir3Change() {
    dirChange(*m_dir3, *m_file2);
}
void Form1::drive1Change() {
    driveChange(*m_drive1, *m_dir1);
}
void Form1::dir1Change() {
    dirChange(*m_dir1, *m_file1);
}

void Form1::loadExportFile() {
    if (m_file2->listIndex() < 0)
        return;
    const QString path = joinPath(m_dir3->path(), m_file2->list(m_file2->listIndex()));
    Result<ExportFile> loaded = dalvero::loadExportFile(path, m_list1->count());
    if (!loaded)
        return fail(loaded.failure());
    const ExportFile& file = loaded.value();

    if (file.header)
        setCaption(m_label4, toDisplay(*file.header));
    m_list1->addLines(file.records);
    // Earlier entries too, also those the user had deselected since.
    m_list1->selectAll();
    if (m_list1->count() > 0)
        m_list1->setListIndex(0);
    m_combo2->setEnabled(true);
    m_uniFil->setEnabled(true);
    m_combo2->addCodes(newYearCodes(m_combo2->codes(), m_list1->lines()));
    m_frame2->setEnabled(true);
    setCaption(m_label5, QStringLiteral("Fravælg evt. duer og vælg unikon fil"));
}

void Form1::deselectYear() {
    m_list2->clear();
    m_list3->clear();
    // Text that no file can hold is no year code: every pigeon stays selected.
    const std::optional<QByteArray> picked = m_combo2->textBytes();
    if (!picked) {
        m_list1->selectAll();
        return;
    }
    m_list1->setSelection(selectionAfterYearPick(m_list1->lines(), *picked));
}

void Form1::resetLists() {
    if (m_check1->isChecked())
        return;
    m_combo2->setEnabled(false);
    m_combo2->clearAll();
    m_list1->clear();
    m_list2->clear();
    m_list3->clear();
    m_combo2->setEnabled(true);
}

void Form1::mergeUnikonFile() {
    if (m_file1->listIndex() < 0)
        return;
    // Another copy that Windows keeps for old programs is told of first; the
    // one the user picks is shown in the lists, so that the merge, the copy
    // in UNI_KOP and "Dan fil" all name it.
    const QString clicked = joinPath(m_dir1->path(), m_file1->list(m_file1->listIndex()));
    const std::optional<QString> chosen = fileToWorkOn(this, m_seam, clicked);
    if (!chosen)
        return;
    if (*chosen != clicked) {
        if (Status failed = showInLists(*m_dir1, *m_file1, *chosen))
            return fail(*failed);
    }
    const QString folder = m_dir1->path();
    const QString name = m_file1->list(m_file1->listIndex());
    const QString path = joinPath(folder, name);

    // Both read and merged before a list changes: a failure leaves the
    // window as it was.
    const Result<UnikonFile> old = readUnikonFile(path);
    if (!old)
        return fail(old.failure());
    const Result<MergedUnikon> merged =
        mergeUnikon(m_list1->lines(), m_list1->selection(), old.value().lines, path);
    if (!merged)
        return fail(merged.failure());

    m_list2->clear();
    m_list3->clear();
    m_list2->addLines(old.value().lines);
    setCaption(m_label1_5, QString::number(m_list2->count()));
    m_list3->addLines(merged.value().lines);
    setCaption(m_label1_1, QString::number(m_list3->count()));

    // What the new file changes, shown on the lines and in the counts' tooltips.
    const MergeMarks marks = markMerge(merged.value().sources, m_list2->count());
    m_list2->setMarks(marks.oldLines);
    m_list3->setMarks(marks.newLines);
    setCountTooltip(m_label1_5, oldCountBreakdown(m_list2->count(), marks));
    setCountTooltip(m_label1_1, newCountBreakdown(m_list3->count(), marks));
    m_mergedFolder = folder;
    m_mergedName = name;
    m_mergedBytes = old.value().bytes;
    m_command1->setEnabled(true);
    setCaption(m_label5, QStringLiteral("Er det OK, klik på 'Dan fil'"));
}

void Form1::writeUnikonFile() {
    // The new list is written only over the file it was built from: after a
    // single click on another member's file, or a change of folder, the user
    // has to build the list again.
    const int current = m_file1->listIndex();
    if (current < 0 || m_file1->path() != m_dir1->path() || m_dir1->path() != m_mergedFolder ||
        m_file1->list(current) != m_mergedName) {
        m_seam.showMessage(this, QStringLiteral("Dobbeltklik på UNIKON filen igen"));
        return;
    }
    const QString name = m_file1->list(current);
    const bool emptyList = m_list3->count() == 0;
    const GuardedRewrite job{
        .chosenPath = joinPath(m_dir1->path(), name),
        .shownBytes = m_mergedBytes,
        .backupPath = backupPath(m_baseFolder, name, m_seam.todayText()),
        .newBytes = emptyList ? std::nullopt : std::optional(joinLines(m_list3->lines())),
        .whenChanged = QStringLiteral("Dobbeltklik på UNIKON filen igen, så den nye liste "
                                      "bygges af filen, som den er nu.")};
    const Result<Rewritten> written = rewriteWhileBusy(this, m_label5, job);
    if (!written)
        return fail(written.failure());
    if (emptyList) {
        m_command1->setEnabled(false);
        return;
    }
    m_frame2->setEnabled(false);
    m_uniFil->setEnabled(false);
    m_list1->clear();
    m_combo2->clearAll();
    // Unticking runs the list reset, nested here, when the box was ticked.
    m_check1->setChecked(false);
    m_seam.showMessage(this, QStringLiteral("Fil skrevet, program lukkes"));
    m_ended = true;
    m_seam.endProgram(0);
}

} // namespace dalvero
