#include "file_list.h"

#include "platform/listing.h"
#include "platform/user_order.h"
#include "wildcard.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

namespace dalvero {

FileList::FileList(const QString& pattern, QWidget* parent)
    : QListWidget(parent), m_pattern(pattern) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QAbstractItemView::clicked, this, &FileList::raiseClick);
    connect(this, &QAbstractItemView::doubleClicked, this, &FileList::fileDoubleClicked);
}

Status FileList::setPath(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
        return Failure{QStringLiteral("Kunne ikke læse mappen"), QDir::toNativeSeparators(folder),
                       info.exists() ? kNoFolderAccess : kNoSuchFolder};
    }
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::NoSort);
    names.removeIf([&](const QString& name) {
        return !matchesWildcard(name, m_pattern) || platform::isLeftOutOfLists(folder, name);
    });
    sortForUser(names);

    clear();
    addItems(names);
    setCurrentRow(-1);
    m_clickedRow = -1;
    m_path = folder;
    return std::nullopt;
}

QString FileList::list(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry ? entry->text() : QString();
}

void FileList::raiseClick() {
    m_clickedRow = currentRow();
    emit fileClicked();
}

void FileList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentRow() < 0)
            return;
        if (currentRow() != m_clickedRow)
            raiseClick();
        emit fileDoubleClicked();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        raiseClick();
}

} // namespace dalvero
