#include "drive_list.h"

#include "user_order.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

namespace dalvero {

namespace {

// Mounts that hold no files a user keeps: memory, kernel and image file
// systems. The root is kept whatever it is (in a container it is an overlay).
bool isUserVolume(const QStorageInfo& volume) {
    static const QSet<QByteArray> systemTypes = {
        "tmpfs",       "devtmpfs",       "squashfs", "overlay", "proc",     "sysfs",
        "cgroup",      "cgroup2",        "autofs",   "devpts",  "mqueue",   "debugfs",
        "tracefs",     "securityfs",     "pstore",   "bpf",     "configfs", "fusectl",
        "hugetlbfs",   "binfmt_misc",    "ramfs",    "nsfs",    "efivarfs", "rpc_pipefs",
        "fuse.portal", "fuse.gvfsd-fuse"};
    if (!volume.isValid() || !volume.isReady())
        return false;
    return volume.isRoot() || !systemTypes.contains(volume.fileSystemType());
}

QString caption(const QStorageInfo& volume) {
    const QString name = volume.name();
    if (name.isEmpty() || name == volume.rootPath())
        return QDir::toNativeSeparators(volume.rootPath());
    return QStringLiteral("%1 [%2]").arg(QDir::toNativeSeparators(volume.rootPath()), name);
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    fill();
    setDrive(driveOf(QDir::currentPath()));
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

QString DriveList::driveOf(const QString& path) {
    return QStorageInfo(path).rootPath();
}

void DriveList::fill() {
    QStringList roots;
    QHash<QString, QString> captions;
    const auto keep = [&](const QStorageInfo& volume) {
        if (volume.rootPath().isEmpty() || captions.contains(volume.rootPath()))
            return;
        roots << volume.rootPath();
        captions.insert(volume.rootPath(), caption(volume));
    };
    keep(QStorageInfo::root());
    // The drive of the current folder is listed even when it is of a kind
    // left out above, so that the list can start at it.
    keep(QStorageInfo(QDir::currentPath()));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (isUserVolume(volume))
            keep(volume);
    }
    const QString root = roots.takeFirst();
    sortForUser(roots);
    roots.prepend(root);
    for (const QString& path : roots)
        addItem(captions.value(path), path);
}

QString DriveList::drive() const {
    return currentData().toString();
}

bool DriveList::setDrive(const QString& rootPath) {
    const int index = findData(rootPath);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

Result<QString> DriveList::currentFolder() const {
    const QString root = drive();
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady() || volume.rootPath() != root) {
        return Failure{QStringLiteral("Drevet kan ikke bruges"), QDir::toNativeSeparators(root),
                       QStringLiteral("Drevet er ikke klar eller findes ikke længere")};
    }
    const QString current = QDir::currentPath();
    return driveOf(current) == root ? current : root;
}

} // namespace dalvero
