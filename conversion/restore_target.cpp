#include "restore_target.h"

#include "platform/platform_files.h"
#include "unikon_merge.h"

#include <QFileInfo>

namespace dalvero {

namespace {

TargetCheck checkResolved(const BackupCopy& copy, const QString& path,
                          const QString& copiesFolder) {
    if (!isFileOf(copy, path)) {
        return ChooseAnother{
            QStringLiteral("Kopien %1 hører til filen %2, ikke til %3.\n\n"
                           "Vælg filen %2.")
                .arg(copy.fileName, copy.name.unikonName, QFileInfo(path).fileName())};
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return RestoreTarget{path, std::nullopt};
    // Through a link, the file could be the copy itself, which is never changed.
    const QString target = info.canonicalFilePath();
    if (!target.isEmpty() && target == QFileInfo(copy.path).canonicalFilePath())
        return Failure{QStringLiteral("Kopien kan ikke lægges tilbage over filen"), path,
                       QStringLiteral("Det er selve kopien i %1").arg(copiesFolder)};
    Result<UnikonFile> read = readUnikonFile(path);
    if (!read)
        return read.failure();
    return RestoreTarget{path, std::move(read).value()};
}

} // namespace

bool isFileOf(const BackupCopy& copy, const QString& path) {
    return QFileInfo(path).fileName().compare(copy.name.unikonName, platform::fileNameCase()) == 0;
}

TargetCheck checkRestoreTarget(const BackupCopy& copy, const QString& chosenPath,
                               const QString& copiesFolder) {
    // A shortcut is refused as "Dan fil" refuses it, whatever its name.
    const Result<QString> file = platform::resolveChosenFile(chosenPath, kUnikonReadFailed);
    if (!file)
        return file.failure();
    return checkResolved(copy, file.value(), copiesFolder);
}

TargetCheck checkRestoreTarget(const BackupCopy& copy, const RestoreTarget& shown,
                               const QString& copiesFolder) {
    return checkResolved(copy, shown.path, copiesFolder);
}

} // namespace dalvero
