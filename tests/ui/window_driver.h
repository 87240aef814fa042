#pragma once

#include "drive_list.h"
#include "file_list.h"
#include "folder_list.h"
#include "form1.h"
#include "line_list.h"
#include "pigeon_list.h"
#include "recording_seam.h"
#include "year_combo.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include <memory>

namespace dalvero::testing {

// Drives the real window the way a user does: mouse and keys on the widgets,
// found by their objectName.
class WindowDriver {
public:
    explicit WindowDriver(const QString& baseFolder);
    ~WindowDriver();

    Form1& window() { return *m_window; }
    RecordingSeam seam;

    template <typename Widget> Widget* find(const QString& name) const {
        return m_window->findChild<Widget*>(name);
    }
    QWidget* control(const QString& name) const { return find<QWidget>(name); }
    QString caption(const QString& labelName) const;
    // The control's own enabled state, apart from its frame's.
    bool ownEnabled(const QString& name) const;
    // Whether the user can reach the control (its frame included).
    bool usable(const QString& name) const;

    FolderList* dir(const QString& name) const;
    FileList* files(const QString& name) const;
    PigeonList* list1() const;
    LineList* lineList(const QString& name) const;
    YearCombo* combo2() const;
    QCheckBox* check1() const;
    QPushButton* command1() const;

    // Mouse actions on an entry found by its text.
    void click(QAbstractItemView* view, const QString& entryText);
    void doubleClick(QAbstractItemView* view, const QString& entryText);
    void clickRow(QAbstractItemView* view, int row);
    // Opens a folder the way the user does: a double-click in the folder list.
    void openFolder(const QString& dirName, const QString& folder);
    // The usual steps of the workflow.
    void loadExport(const QString& folder, const QString& fileName);
    void merge(const QString& folder, const QString& fileName);
    void pickYear(const QString& code);
    void clickDanFil();
    void toggleCheck1();

    QStringList entries(const QString& listName) const;

private:
    std::unique_ptr<Form1> m_window;
};

} // namespace dalvero::testing
