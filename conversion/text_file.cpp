#include "text_file.h"

#include "backup.h"
#include "file_replace.h"
#include "platform_files.h"
#include "virtual_store_copy.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QThread>

#include <optional>

namespace dalvero {

namespace {

const QString kIsFolder = QStringLiteral("Det er en mappe, ikke en fil.");

Failure tooBig(const QString& what, const QString& path, qint64 size) {
    const QLocale danish(QLocale::Danish, QLocale::Denmark);
    const auto amount = [&](qint64 bytes) {
        return QStringLiteral("%1 (%2 byte)")
            .arg(danish.formattedDataSize(bytes, 1), danish.toString(bytes));
    };
    return Failure{what, path,
                   QStringLiteral("Filen er for stor: den fylder %1, og der læses højst %2.")
                       .arg(amount(size), amount(kMaxListFileBytes))};
}

// Reads the file at `path`; with a bound, a bigger file is refused without
// reading more than one byte past the bound.
Result<QByteArray> readFile(const QString& path, const QString& what, std::optional<qint64> bound) {
    const QFileInfo info(path);
    if (info.isDir())
        return Failure{what, path, kIsFolder};
    if (info.exists() && !info.isFile())
        return Failure{what, path, QStringLiteral("Det er ikke en almindelig fil.")};
    if (Status failed = platform::replacing::scripted("read", path, what, path))
        return *failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{what, path, file.errorString()};
    if (!bound) {
        QByteArray contents = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return Failure{what, path, file.errorString()};
        return contents;
    }
    // The size of the file opened, not of whatever the path names by now.
    const qint64 size = file.size();
    if (size > *bound)
        return tooBig(what, path, size);
    // One byte past the size tells whether the file grew since; if it did,
    // reading stops one byte past the bound.
    QByteArray contents = file.read(size + 1);
    if (contents.size() > size && file.error() == QFileDevice::NoError)
        contents += file.read(*bound + 1 - contents.size());
    if (file.error() != QFileDevice::NoError)
        return Failure{what, path, file.errorString()};
    if (contents.size() > *bound)
        return tooBig(what, path, qMax(file.size(), qint64(contents.size())));
    return contents;
}

} // namespace

Result<QByteArray> readWhole(const QString& path, const QString& what) {
    return readFile(path, what, std::nullopt);
}

Result<QByteArray> readChosenFile(const QString& path, const QString& what) {
    const Result<QString> file = platform::resolveChosenFile(path, what);
    if (!file)
        return file.failure();
    return readFile(file.value(), what, kMaxListFileBytes);
}

Result<Lines> readLines(const QString& path, const QString& what) {
    const Result<QByteArray> contents = readChosenFile(path, what);
    if (!contents)
        return contents.failure();
    return splitLines(contents.value());
}

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

} // namespace dalvero
