#include "folder_list.h"

#include "folder_reasons.h"
#include "listing.h"
#include "user_order.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace dalvero {

namespace {

constexpr int kPathRole = Qt::UserRole;

Status checkListable(const QString& folder) {
    const QFileInfo info(folder);
    QString reason;
    if (!info.exists())
        reason = kNoSuchFolder;
    else if (!info.isDir())
        reason = QStringLiteral("Det er ikke en mappe");
    else if (!info.isReadable() || !info.isExecutable())
        reason = kNoFolderAccess;
    if (reason.isEmpty())
        return std::nullopt;
    return Failure{QStringLiteral("Kunne ikke åbne mappen"), QDir::toNativeSeparators(folder),
                   reason};
}

// The folders from the root down to `folder`, the root first.
QStringList foldersDownTo(const QString& folder) {
    QStringList chain;
    QDir dir(folder);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp())
        chain.prepend(dir.absolutePath());
    return chain;
}

QString shownName(const QString& folder) {
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? QDir::toNativeSeparators(folder) : name;
}

} // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(fontMetrics().averageCharWidth() * 2);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { requestOpen(item); });
}

Status FolderList::setPath(const QString& folder) {
    const QString absolute = QDir(folder).absolutePath();
    if (Status failed = checkListable(absolute))
        return failed;

    QStringList names = QDir(absolute).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    names.removeIf([&](const QString& name) { return platform::isLeftOutOfLists(absolute, name); });
    sortForUser(names);

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);
    QTreeWidgetItem* parentItem = nullptr;
    for (const QString& step : foldersDownTo(absolute)) {
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, shownName(step));
        item->setIcon(0, open);
        item->setData(0, kPathRole, QDir::toNativeSeparators(step));
        parentItem = item;
    }
    QList<QTreeWidgetItem*> children;
    children.reserve(names.size());
    for (const QString& name : names) {
        auto* item = new QTreeWidgetItem({name});
        item->setIcon(0, closed);
        item->setData(0, kPathRole, QDir::toNativeSeparators(QDir(absolute).filePath(name)));
        children << item;
    }
    parentItem->addChildren(children);
    expandAll();
    setCurrentItem(parentItem);
    scrollToItem(parentItem, QAbstractItemView::PositionAtTop);

    m_path = QDir::toNativeSeparators(absolute);
    emit pathChanged();
    return std::nullopt;
}

void FolderList::requestOpen(const QTreeWidgetItem* item) {
    if (item)
        emit openRequested(item->data(0, kPathRole).toString());
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        requestOpen(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace dalvero
