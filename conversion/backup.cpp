#include "backup.h"

#include "file_replace.h"
#include "platform_files.h"
#include "text_file.h"
#include "text_rules.h"

#include <QDir>
#include <QFileInfo>

namespace dalvero {

namespace {

// The copy is written whole under a name of ours first, which no list reads
// as a copy, and only then given its dated name: a stop part-way never
// leaves a short file that looks like a real copy.
const QString kCopyPrefix = platform::kReplacementPrefix + QStringLiteral("kopi-");

// Copies half-written by a run that broke off.
void removeHalfWrittenCopies(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({kCopyPrefix + QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden))
        platform::removeFile(dir.filePath(name));
}

} // namespace

QString shortDateText(const QDate& date, const QLocale& locale) {
    return locale.toString(date, QLocale::ShortFormat);
}

QString fileNameSafe(const QString& dateText) {
    QString safe = dateText;
    for (QChar& c : safe) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('-');
    }
    return safe;
}

QString backupFolder(const QString& baseFolder) {
    return joinPath(baseFolder, kBackupFolderName);
}

QString backupPath(const QString& baseFolder, const QString& unikonName, const QString& dateText) {
    return joinPath(backupFolder(baseFolder),
                    unikonName + QLatin1Char('_') + fileNameSafe(dateText));
}

Result<QString> makeBackup(const QString& unikonPath, const QString& wantedPath) {
    const Result<QByteArray> contents = readWhole(unikonPath, kBackupFailed);
    if (!contents)
        return contents.failure();
    return makeBackup(unikonPath, contents.value(), wantedPath);
}

Result<QString> makeBackup(const QString& unikonPath, const QByteArray& contents,
                           const QString& wantedPath, const Wait& wait) {
    const QString folder = QFileInfo(wantedPath).absolutePath();
    removeHalfWrittenCopies(folder);
    const QString whole =
        platform::replacing::replacementPath(QDir(folder).filePath(QStringLiteral("kopi")));
    if (Status failed =
            platform::writeNewFile(whole, contents, unikonPath, false, kBackupFailed, wantedPath))
        return *failed;
    for (int n = 1; n < 100000; ++n) {
        const QString candidate =
            n == 1 ? wantedPath : wantedPath + QLatin1Char('_') + QString::number(n);
        if (QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink())
            continue;
        platform::MoveOutcome moved = platform::moveToFreeName(whole, candidate, kBackupFailed);
        for (std::size_t waited = 0; moved.retry && wait && waited < std::size(kWaitsMs);
             ++waited) {
            wait(kWaitsMs[waited]);
            moved = platform::moveToFreeName(whole, candidate, kBackupFailed);
        }
        if (!moved.failed) {
            platform::syncFolder(folder);
            return candidate;
        }
        if (!moved.taken) {
            platform::removeFile(whole);
            if (moved.held)
                moved.failed->reason = kFileInUse + QLatin1Char(' ') + moved.failed->reason;
            return *moved.failed;
        }
    }
    platform::removeFile(whole);
    return Failure{kBackupFailed, wantedPath, QStringLiteral("Der er ikke flere ledige navne.")};
}

} // namespace dalvero
