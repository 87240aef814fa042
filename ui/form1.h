#pragma once

#include "failure.h"

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
class PlatformSeam;
class YearCombo;

// The one window of the program. Its lists and captions are the program's
// data: every operation reads and writes the controls, and every control is
// found by its objectName ("File2", "uni_fil", "Label1(5)", ...).
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(const QString& baseFolder, PlatformSeam& seam, QWidget* parent = nullptr);

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
    template <typename... Args> auto whileRunning(void (Form1::*handler)(Args...));

    // Picker steps.
    void dir3Open(const QString& folder);
    void dir1Open(const QString& folder);
    void drive3Change();
    void dir3Change();
    void drive1Change();
    void dir1Change();
    void openFolder(FolderList& folders, const QString& folder);
    void driveChange(DriveList& drives, FolderList& folders);
    void dirChange(const FolderList& folders, FileList& files);

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
    PlatformSeam& m_seam;
    // Set when the program ends, once the file is written; from then on no
    // event runs a handler.
    bool m_ended = false;
    // The UNIKON file the last merge read: only that file may be overwritten
    // with the list built from it, and only while it still holds these bytes.
    QString m_mergedFolder;
    QString m_mergedName;
    QByteArray m_mergedBytes;

    // The controls under their names in the form.
    QLabel* m_label5 = nullptr;    // the prompt: what the user does next
    QLabel* m_label4 = nullptr;    // the export file's header, its first two lines
    QGroupBox* m_frame4 = nullptr; // "Vælg Eksportfil": the export file's pickers
    DriveList* m_drive3 = nullptr;
    FolderList* m_dir3 = nullptr;
    QLabel* m_label3 = nullptr;
    FileList* m_file2 = nullptr;   // the export files; a click loads one
    QGroupBox* m_frame2 = nullptr; // "Fravælg evt duer": the deselection
    QCheckBox* m_check1 = nullptr; // unticked, it empties the pigeon, year and UNIKON lists
    YearCombo* m_combo2 = nullptr; // the year codes; a pick deselects that year
    PigeonList* m_list1 = nullptr; // the pigeons of the export file, ticked when selected
    QGroupBox* m_uniFil = nullptr; // "Vælg UNI fil": the UNIKON file's pickers
    DriveList* m_drive1 = nullptr;
    FolderList* m_dir1 = nullptr;
    QLabel* m_label2 = nullptr;
    FileList* m_file1 = nullptr;       // the UNIKON files; a double-click merges one
    QGroupBox* m_frame1 = nullptr;     // "GL UNIKON FIL"
    LineList* m_list2 = nullptr;       // the old UNIKON file's lines
    QLabel* m_label1_4 = nullptr;      // "Antal Duer" beside the old list's count
    QLabel* m_label1_5 = nullptr;      // the old list's count
    QGroupBox* m_frame3 = nullptr;     // "NY UNIKON FIL"
    LineList* m_list3 = nullptr;       // the new list, written by "Dan fil"
    QLabel* m_label1_0 = nullptr;      // "Antal Duer" beside the new list's count
    QLabel* m_label1_1 = nullptr;      // the new list's count
    QPushButton* m_command1 = nullptr; // "Dan fil": backs the old file up and writes the new one
};

} // namespace dalvero
