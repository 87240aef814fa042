#include "scratch_folder.h"

#include "conversion/backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dalvero::testing {

ScratchFolder::ScratchFolder() : m_folder(QDir::tempPath() + QStringLiteral("/dalvero-XXXXXX")) {}

QString ScratchFolder::path() const {
    return QDir::toNativeSeparators(m_folder.path());
}

QString ScratchFolder::filePath(const QString& name) const {
    return path() + QDir::separator() + QDir::toNativeSeparators(name);
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

Result<Rewritten> rewriteAsShown(const QString& path, const QByteArray& newBytes,
                                 const QString& base) {
    QDir().mkpath(backupFolder(base));
    return rewriteGuarded({path,
                           exists(path) ? std::optional(fileBytes(path)) : std::nullopt,
                           backupPath(base, QFileInfo(path).fileName(), QStringLiteral("07-12-26")),
                           newBytes,
                           {}});
}

bool exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymbolicLink();
}

QStringList folderEntries(const QString& path) {
    return QDir(path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace dalvero::testing
