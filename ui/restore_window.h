#pragma once

#include "conversion/backup_copies.h"
#include "conversion/restore_target.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace dalvero {

class FileChooser;
class LineList;
class WindowServices;

// The window of "Dalvero – læg kopi tilbage": puts a backup from UNI_KOP back
// over the UNIKON file it was made from, after showing what that changes, and
// keeps the file as it was in UNI_KOP first, so that this too can be undone.
// It stays open afterwards: the user sees the result, and the copy just made
// at the top of the list, in case it was the wrong one. Every control is
// found by its objectName ("Copies", "PutBack", ...).
class RestoreWindow : public QWidget {
    Q_OBJECT
public:
    RestoreWindow(const QString& baseFolder, WindowServices& seam, FileChooser& chooser,
                  QWidget* parent = nullptr);

private:
    void buildControls();
    void describeForAccessibility();

    // Lists UNI_KOP anew and makes the copy at `keptPath` current, else the
    // newest.
    void listCopies(const QString& keptPath = {});
    void showCopy();
    void chooseFile();
    // Shows the file that may take the current copy; else it is forgotten,
    // with the reason told when `report` is set.
    void showFile(const TargetCheck& checked, bool report = true);
    void forgetFile();
    void showChanges();
    void putBack();

    const BackupCopy* currentCopy() const;

    QString m_baseFolder;
    WindowServices& m_seam;
    FileChooser& m_chooser;
    QList<BackupCopy> m_copies;
    // The current copy as read when it was chosen: what the user sees is
    // what is written.
    std::optional<QByteArray> m_copyBytes;
    // The chosen UNIKON file, once it is known to take the current copy, and
    // its bytes as shown: it is rewritten only while it still holds them.
    std::optional<RestoreTarget> m_target;

    QLabel* m_prompt = nullptr;
    QLabel* m_copiesCaption = nullptr;
    QTreeWidget* m_copyTable = nullptr;
    QPushButton* m_chooseFile = nullptr;
    QLabel* m_chosenFile = nullptr;
    QLabel* m_fileHeading = nullptr;
    LineList* m_fileLines = nullptr;
    QLabel* m_fileCount = nullptr;
    QLabel* m_copyHeading = nullptr;
    LineList* m_copyLines = nullptr;
    QLabel* m_copyCount = nullptr;
    QPushButton* m_putBack = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
};

} // namespace dalvero
