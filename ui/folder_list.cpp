#include "folder_list.h"

#include "platform/drives.h"
#include "platform/listing.h"
#include "platform/user_order.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace dalvero {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

// Draws each entry one indent further in for each folder above it.
class IndentedEntries : public QStyledItemDelegate {
public:
    IndentedEntries(int indent, QObject* parent) : QStyledItemDelegate(parent), m_indent(indent) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(shift(index), 0);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->rect.setLeft(option->rect.left() + shift(index));
    }

private:
    int shift(const QModelIndex& index) const { return index.data(kDepthRole).toInt() * m_indent; }

    int m_indent;
};

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

// The folders from the top of the chain down to `folder`, the top first. On
// a share the top is the share itself: the server above it is no folder.
QStringList foldersDownTo(const QString& folder) {
    const QString top = QDir::cleanPath(QDir(drives::topOf(folder)).absolutePath());
    QStringList chain;
    QDir dir(folder);
    chain.prepend(dir.absolutePath());
    while (QDir::cleanPath(dir.absolutePath()).compare(top, Qt::CaseInsensitive) != 0 && dir.cdUp())
        chain.prepend(dir.absolutePath());
    return chain;
}

QString shownName(const QString& folder, bool top) {
    const QString name = QFileInfo(folder).fileName();
    return top || name.isEmpty() ? QDir::toNativeSeparators(folder) : name;
}

} // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setItemDelegate(new IndentedEntries(fontMetrics().averageCharWidth() * 2, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { requestOpen(item); });
}

Result<QStringList> FolderList::readFolders(const QString& folder) {
    if (Status failed = checkListable(folder))
        return *failed;
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    names.removeIf([&](const QString& name) { return platform::isLeftOutOfLists(folder, name); });
    return names;
}

Status FolderList::setPath(const QString& folder) {
    return setPath(folder, readFolders(QDir(folder).absolutePath()));
}

Status FolderList::setPath(const QString& folder, const Result<QStringList>& subfolders) {
    const QString absolute = QDir(folder).absolutePath();
    if (!subfolders)
        return subfolders.failure();
    QStringList names = subfolders.value();
    sortForUser(names);

    // One layout for the whole list, not one for each entry.
    setUpdatesEnabled(false);
    clear();
    const auto add = [this](const QString& name, const QIcon& icon, const QString& path,
                            int depth) {
        auto* item = new QListWidgetItem(icon, name, this);
        item->setData(kPathRole, QDir::toNativeSeparators(path));
        item->setData(kDepthRole, depth);
        return item;
    };
    const QStringList chain = foldersDownTo(absolute);
    QListWidgetItem* shown = nullptr;
    for (const QString& step : chain)
        shown = add(shownName(step, step == chain.first()),
                    style()->standardIcon(QStyle::SP_DirOpenIcon), step, count());
    const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);
    for (const QString& name : names)
        add(name, closed, QDir(absolute).filePath(name), chain.size());
    setUpdatesEnabled(true);
    setCurrentItem(shown);
    scrollToItem(shown, QAbstractItemView::PositionAtTop);

    m_path = QDir::toNativeSeparators(absolute);
    emit pathChanged();
    return std::nullopt;
}

void FolderList::requestOpen(const QListWidgetItem* item) {
    if (item)
        emit openRequested(item->data(kPathRole).toString());
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        requestOpen(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace dalvero
