#include "guarded_rewrite.h"

#include "backup.h"
#include "platform/file_replace.h"
#include "platform/platform_files.h"
#include "virtual_store_copy.h"

#include <QFileInfo>
#include <QThread>

namespace dalvero {

void sleepFor(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

Result<platform::Way> rewriteWay(const QString& path, const Wait& wait) {
    for (std::size_t waited = 0;; ++waited) {
        const QFileInfo info(path);
        if (info.isDir())
            return Failure{kWriteFailed, path, kIsFolder};
        if (!info.exists())
            return platform::Way::Replace;
        QString reason;
        switch (platform::writeAccess(info, &reason)) {
        case platform::WriteAccess::Writable:
            return platform::Way::Replace;
        case platform::WriteAccess::WritableInPlace:
            return platform::Way::InPlace;
        case platform::WriteAccess::ReadOnly:
            return Failure{kWriteFailed, path, QStringLiteral("Filen er skrivebeskyttet.")};
        case platform::WriteAccess::Denied:
            return Failure{kWriteFailed, path, kAccessDenied + virtualStoreAdvice(path)};
        case platform::WriteAccess::Refused:
            return Failure{kWriteFailed, path, reason};
        case platform::WriteAccess::InUse:
            if (!wait || waited == std::size(kWaitsMs))
                return Failure{kWriteFailed, path, kFileInUse};
            wait(kWaitsMs[waited]);
            break;
        }
    }
}

Status checkRewritable(const QString& path, const Wait& wait) {
    const Result<platform::Way> way = rewriteWay(path, wait);
    return way ? Status() : way.failure();
}

namespace {

// The report when the new bytes could not take the file's name: where they
// are, where the old file went, and what the user can do.
Failure strandedReport(Failure failure, const platform::ReplaceOutcome& outcome,
                       const QString& path) {
    const QString stranded = platform::shownPath(outcome.stranded);
    if (QFileInfo::exists(path))
        failure.reason += QStringLiteral(" En anden fil har fået navnet %1 imens; den nye liste "
                                         "ligger i %2.")
                              .arg(QFileInfo(path).fileName(), stranded);
    else
        failure.reason += QStringLiteral(" Filen findes ikke lige nu: den nye liste ligger i %1. "
                                         "Giv den navnet %2.")
                              .arg(stranded, QFileInfo(path).fileName());
    if (outcome.oldMovedAside && !outcome.oldFile.isEmpty())
        failure.reason += QStringLiteral(" Windows har flyttet den gamle fil til %1.")
                              .arg(platform::shownPath(outcome.oldFile));
    else if (outcome.oldMovedAside)
        failure.reason +=
            QStringLiteral(" Den gamle fil findes som kopi i %1.").arg(kBackupFolderName);
    return failure;
}

// The same step tried again after each wait while the system says it may
// go through shortly.
platform::ReplaceOutcome afterTheWaits(platform::ReplaceOutcome outcome, const QString& path,
                                       const QByteArray& contents,
                                       const std::optional<QByteArray>& old, const Wait& wait) {
    for (int ms : kWaitsMs) {
        if (!outcome.failed || !outcome.retry || !wait)
            break;
        wait(ms);
        outcome = platform::replaceAgain(outcome, path, contents, old, kWriteFailed);
    }
    return outcome;
}

} // namespace

Status putInPlace(const QString& path, const QByteArray& contents,
                  const std::optional<QByteArray>& old, platform::Way way, const Wait& wait) {
    platform::ReplaceOutcome outcome = afterTheWaits(
        platform::replaceFile(path, contents, old, kWriteFailed, way), path, contents, old, wait);
    // A file the replace may not delete (a sync client or a backup agent
    // that shares it, rights without delete, a scanner that keeps holding
    // it) may still be written where it is; "in use" only when that is
    // refused too.
    if (outcome.failed && outcome.inPlace && old) {
        platform::dropReplacement(outcome);
        outcome = afterTheWaits(
            platform::replaceFile(path, contents, old, kWriteFailed, platform::Way::InPlace), path,
            contents, old, wait);
    }
    platform::dropReplacement(outcome);
    if (!outcome.failed) {
        // Moved aside by a replace that then failed: its bytes are the copy's.
        if (!outcome.oldFile.isEmpty())
            platform::removeFile(outcome.oldFile);
        return std::nullopt;
    }
    if (!outcome.stranded.isEmpty())
        return strandedReport(*outcome.failed, outcome, path);
    if (outcome.held)
        outcome.failed->reason = kFileInUse + QLatin1Char(' ') + outcome.failed->reason;
    return outcome.failed;
}

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
    const auto changed = [&] {
        return Failure{kWriteFailed, job.chosenPath,
                       kChangedSinceRead + QLatin1Char(' ') + job.whenChanged};
    };
    Rewritten done{file.value(), QString()};
    // The bytes that go back if writing in place fails part-way: none for a
    // file that was missing, which is only made while it still is.
    std::optional<QByteArray> old;
    if (!job.shownBytes) {
        if (QFileInfo::exists(file.value()) || QFileInfo(file.value()).isSymLink())
            return changed();
    } else {
        // Read once: these are the bytes compared and backed up.
        Result<QByteArray> now = readWhole(file.value(), kBackupFailed);
        if (!now)
            return now.failure();
        if (now.value() != job.shownBytes)
            return changed();
        const Result<QString> backup = makeBackup(file.value(), now.value(), job.backupPath, wait);
        if (!backup)
            return backup.failure();
        done.backup = backup.value();
        old = std::move(now).value();
    }
    if (job.newBytes) {
        if (Status failed = putInPlace(file.value(), *job.newBytes, old, way.value(), wait))
            return *failed;
    }
    return done;
}

} // namespace dalvero
