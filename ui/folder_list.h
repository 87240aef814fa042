#pragma once

#include "platform/failure.h"

#include <QListWidget>

namespace dalvero {

// The folder list: the folders from the root down to `path()`, then the
// folders inside it, each indented one step below the one it lies in. A list
// box, as Windows' own folder list is: a tree view would carry a header that
// screen readers find even while it is hidden. Opening an entry (double-click or
// Enter) asks for that folder with `openRequested`; `setPath` shows a folder
// and raises the change event `pathChanged`, for code and user alike.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The folder shown, as the user's paths write it (backslashes on Windows).
    QString path() const { return m_path; }
    // Shows `folder`; fails, and shows what it showed before, when the folder
    // cannot be listed.
    Status setPath(const QString& folder);
    // The same with the subfolders read beforehand by readFolders, which
    // may be done on another thread: a drive may not answer.
    Status setPath(const QString& folder, const Result<QStringList>& subfolders);

    // The subfolders of the absolute path `folder` that the list shows, not
    // yet in the user's order. Reads only, on whichever thread calls it.
    static Result<QStringList> readFolders(const QString& folder);

signals:
    void openRequested(const QString& folder);
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void requestOpen(const QListWidgetItem* item);

    QString m_path;
};

} // namespace dalvero
