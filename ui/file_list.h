#pragma once

#include "platform/failure.h"

#include <QListWidget>

namespace dalvero {

// The file list: the plain files of `path()` whose names match the pattern,
// sorted for the user. A click or a move with the keys makes an entry current
// and raises `fileClicked`; a double-click raises `fileClicked` once and then
// `fileDoubleClicked`, and so does Enter.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(const QString& pattern, QWidget* parent = nullptr);

    QString pattern() const { return m_pattern; }
    QString path() const { return m_path; }
    // Lists the files of `folder` with no current entry; fails, and lists
    // what it listed before, when the folder cannot be read.
    Status setPath(const QString& folder);

    // The current entry, -1 when there is none.
    int listIndex() const { return currentRow(); }
    // The bare name of the entry at `index`.
    QString list(int index) const;

signals:
    void fileClicked();
    void fileDoubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void raiseClick();

    QString m_pattern;
    QString m_path;
    // The entry of the last click: Enter raises a click first only when the
    // current entry was never clicked (focus alone can make one current).
    int m_clickedRow = -1;
};

} // namespace dalvero
