#pragma once

#include "platform/failure.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace dalvero {

class DriveList;
class FileList;
class FolderList;
class LineList;
class PigeonList;
class WindowServices;
class YearCombo;

// Dalvero's main window, where the new list is made (the restore program has
// a window of its own). Its lists and captions are the program's data: every
// operation reads and writes the controls, and every control is found by its
// objectName ("File2", "uni_fil", "Label1(5)", ...).
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(const QString& baseFolder, WindowServices& seam, QWidget* parent = nullptr);

    // The window's client area in twips.
    static constexpr int kClientWidth = 12825;
    static constexpr int kClientHeight = 5985;

private:
    void buildControls();
    void setTabOrder();
    void describeForAccessibility();
    void wireEvents();
    void openStartFolders();
    // F1: the user guide. The window keeps its layout, so no control of its own.
    void showHelp();
    // `handler` as an event runs it: not at all once the program has ended.
    template <typename... Args> auto whileRunning(void (MainWindow::*handler)(Args...));

    // Picker steps.
    void openExportFolder(const QString& folder);
    void openUnikonFolder(const QString& folder);
    void exportDriveChanged();
    void exportFolderChanged();
    void unikonDriveChanged();
    void unikonFolderChanged();
    void openFolder(FolderList& folders, const QString& folder);
    void driveChanged(DriveList& drives, FolderList& folders);
    void folderChanged(const FolderList& folders, FileList& files);

    // The operations of the workflow.
    void loadExportFile();
    void deselectYear();
    void resetLists();
    void mergeUnikonFile();
    void writeUnikonFile();

    // Reports the failure; the handler returns next, with the window as it
    // was before the event, so that the user can mend the cause and try again.
    void fail(const Failure& failure);
    // A count shows just the number; the tooltip, which a screen reader also
    // says, breaks it down.
    void setCountTooltip(QLabel* label, const QString& text);

    QString m_baseFolder;
    WindowServices& m_seam;
    // Set when the program ends, once the file is written; from then on no
    // event runs a handler.
    bool m_ended = false;
    // The UNIKON file the last merge read: only that file may be overwritten
    // with the list built from it, and only while it still holds these bytes.
    QString m_mergedFolder;
    QString m_mergedName;
    QByteArray m_mergedBytes;

    // The controls under their names in the form.
    QLabel* m_prompt = nullptr;           // the prompt: what the user does next
    QLabel* m_exportHeader = nullptr;     // the export file's header, its first two lines
    QGroupBox* m_exportPickers = nullptr; // "Vælg Eksportfil": the export file's pickers
    DriveList* m_exportDrives = nullptr;
    FolderList* m_exportFolders = nullptr;
    QLabel* m_exportFilesCaption = nullptr;
    FileList* m_exportFiles = nullptr;    // the export files; a click loads one
    QGroupBox* m_deselection = nullptr;   // "Fravælg evt duer": the deselection
    QCheckBox* m_yearBox = nullptr;       // unticked, it empties the pigeon, year and UNIKON lists
    YearCombo* m_yearCodes = nullptr;     // the year codes; a pick deselects that year
    PigeonList* m_pigeonList = nullptr;   // the pigeons of the export file, ticked when selected
    QGroupBox* m_unikonPickers = nullptr; // "Vælg UNI fil": the UNIKON file's pickers
    DriveList* m_unikonDrives = nullptr;
    FolderList* m_unikonFolders = nullptr;
    QLabel* m_unikonFilesCaption = nullptr;
    FileList* m_unikonFiles = nullptr;   // the UNIKON files; a double-click merges one
    QGroupBox* m_oldListFrame = nullptr; // "GL UNIKON FIL"
    LineList* m_oldList = nullptr;       // the old UNIKON file's lines
    QLabel* m_oldCountCaption = nullptr; // "Antal Duer" beside the old list's count
    QLabel* m_oldCount = nullptr;        // the old list's count
    QGroupBox* m_newListFrame = nullptr; // "NY UNIKON FIL"
    LineList* m_newList = nullptr;       // the new list, written by "Dan fil"
    QLabel* m_newCountCaption = nullptr; // "Antal Duer" beside the new list's count
    QLabel* m_newCount = nullptr;        // the new list's count
    QPushButton* m_danFil = nullptr;     // "Dan fil": backs the old file up and writes the new one
};

} // namespace dalvero
