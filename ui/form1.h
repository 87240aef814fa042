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

    // Picker steps.
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

    // Reports the failure and ends the program; the handler returns next.
    void fail(const Failure& failure);
    void setCaption(QLabel* label, const QString& text);
    // A count shows just the number; the tooltip, which a screen reader also
    // says, breaks it down.
    void setCountTooltip(QLabel* label, const QString& text);

    QString m_baseFolder;
    PlatformSeam& m_seam;
    bool m_ended = false;
    // The UNIKON file the last merge read: only that file may be overwritten
    // with the list built from it.
    QString m_mergedFolder;
    QString m_mergedName;

    QLabel* m_label5 = nullptr;
    QLabel* m_label4 = nullptr;
    QGroupBox* m_frame4 = nullptr;
    DriveList* m_drive3 = nullptr;
    FolderList* m_dir3 = nullptr;
    QLabel* m_label3 = nullptr;
    FileList* m_file2 = nullptr;
    QGroupBox* m_frame2 = nullptr;
    QCheckBox* m_check1 = nullptr;
    YearCombo* m_combo2 = nullptr;
    PigeonList* m_list1 = nullptr;
    QGroupBox* m_uniFil = nullptr;
    DriveList* m_drive1 = nullptr;
    FolderList* m_dir1 = nullptr;
    QLabel* m_label2 = nullptr;
    FileList* m_file1 = nullptr;
    QGroupBox* m_frame1 = nullptr;
    LineList* m_list2 = nullptr;
    QLabel* m_label1_4 = nullptr;
    QLabel* m_label1_5 = nullptr;
    QGroupBox* m_frame3 = nullptr;
    LineList* m_list3 = nullptr;
    QLabel* m_label1_0 = nullptr;
    QLabel* m_label1_1 = nullptr;
    QPushButton* m_command1 = nullptr;
};

} // namespace dalvero
