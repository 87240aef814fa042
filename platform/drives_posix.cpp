#include "drives.h"

#include "scripted_answers.h"
#include "user_order.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace dalvero::drives {

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
        return volume.rootPath();
    return QStringLiteral("%1 [%2]").arg(volume.rootPath(), name);
}

} // namespace

QList<Drive> all() {
    if (const auto& scripted = platform::scriptedAnswers().drives)
        return scripted();
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
    QList<Drive> drives;
    for (const QString& path : roots)
        drives.append({path, captions.value(path)});
    return drives;
}

QString driveOf(const QString& path) {
    return QStorageInfo(path).rootPath();
}

QString topOf(const QString&) {
    return QDir::rootPath();
}

Status checkRoot(const QString& root) {
    const QStorageInfo volume(root);
    QString reason;
    if (DIR* listing = ::opendir(QFile::encodeName(root).constData()))
        ::closedir(listing);
    else
        reason = QString::fromLocal8Bit(std::strerror(errno));
    if (reason.isEmpty() && (!volume.isValid() || !volume.isReady() || volume.rootPath() != root))
        reason = QStringLiteral("Drevet er ikke monteret længere");
    if (reason.isEmpty())
        return std::nullopt;
    return Failure{kDriveNotReady, root, reason};
}

} // namespace dalvero::drives
