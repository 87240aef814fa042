#include "scratch_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace dalvero::testing {

ScratchFolder::ScratchFolder() : m_folder(QDir::tempPath() + QStringLiteral("/dalvero-XXXXXX")) {}

QString ScratchFolder::filePath(const QString& name) const {
    return path() + QLatin1Char('/') + name;
}

QString ScratchFolder::writeFile(const QString& name, const QByteArray& contents) const {
    const QString target = filePath(name);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write the test file %s", qPrintable(target));
    return target;
}

QString ScratchFolder::makeFolder(const QString& name) const {
    const QString target = filePath(name);
    if (!QDir().mkpath(target))
        qFatal("cannot make the test folder %s", qPrintable(target));
    return target;
}

void ScratchFolder::openToEveryone() const {
    setPermissionBits(path(), 0777);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool exists(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

mode_t permissionBits(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

bool setPermissionBits(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

QStringList folderEntries(const QString& path) {
    return QDir(path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace dalvero::testing
