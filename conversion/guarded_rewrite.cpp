#include "guarded_rewrite.h"

#include "backup.h"
#include "platform_files.h"

#include <QFileInfo>

namespace dalvero {

Result<Rewritten> rewriteGuarded(const GuardedRewrite& job, const Wait& wait) {
    const Result<QString> file = platform::resolveChosenFile(job.chosenPath, kBackupFailed);
    if (!file)
        return file.failure();
    // Only the backup is written when there is no new list: the file itself
    // may then be read-only or held. Otherwise the way it will be written is
    // settled before anything is, so that a refusal leaves no copy either.
    Result<platform::Way> way = platform::Way::Replace;
    if (job.newBytes) {
        way = rewriteWay(file.value(), wait);
        if (!way)
            return way.failure();
    }
    // A file that was missing is only made, while it still is.
    if (!job.shownBytes) {
        if (QFileInfo::exists(file.value()) || QFileInfo(file.value()).isSymLink())
            return Failure{kWriteFailed, job.chosenPath,
                           kChangedSinceRead + QLatin1Char(' ') + job.whenChanged};
        if (job.newBytes) {
            if (Status failed =
                    putInPlace(file.value(), *job.newBytes, std::nullopt, way.value(), wait))
                return *failed;
        }
        return Rewritten{file.value(), QString()};
    }
    // Read once: these are the bytes compared and backed up.
    const Result<QByteArray> now = readWhole(file.value(), kBackupFailed);
    if (!now)
        return now.failure();
    if (now.value() != job.shownBytes) {
        return Failure{kWriteFailed, job.chosenPath,
                       kChangedSinceRead + QLatin1Char(' ') + job.whenChanged};
    }
    const Result<QString> backup = makeBackup(file.value(), now.value(), job.backupPath, wait);
    if (!backup)
        return backup.failure();
    if (job.newBytes) {
        if (Status failed = putInPlace(file.value(), *job.newBytes, now.value(), way.value(), wait))
            return *failed;
    }
    return Rewritten{file.value(), backup.value()};
}

} // namespace dalvero
