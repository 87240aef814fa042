#pragma once

#include "failure.h"

#include <QTreeWidget>

namespace dalvero {

// The folder list: the folders from the root down to `path()`, then the
// folders inside it, as an indented tree. Opening an entry (double-click or
// Enter) asks for that folder with `openRequested`; `setPath` shows a folder
// and raises the change event `pathChanged`, for code and user alike.
class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The folder shown, as the user's paths write it (backslashes on Windows).
    QString path() const { return m_path; }
    // Shows `folder`; fails, and shows what it showed before, when the folder
    // cannot be listed.
    Status setPath(const QString& folder);

signals:
    void openRequested(const QString& folder);
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void requestOpen(const QTreeWidgetItem* item);

    QString m_path;
};

} // namespace dalvero
