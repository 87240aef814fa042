#include "backup.h"

#include "backup_copies.h"
#include "guarded_rewrite.h"
#include "platform/file_replace.h"
#include "platform/platform_files.h"
#include "text_file.h"
#include "text_rules.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

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

// The newest of the day's copies named from `wantedPath` (the highest number,
// as the restore list orders them), when it holds exactly `contents`. A
// "Dan fil" clicked again after a refusal then adds no second copy of the
// same state: that copy already is the backup. A copy that cannot be read
// counts as another state.
std::optional<QString> sameNewestCopy(const QByteArray& contents, const QString& wantedPath) {
    const QFileInfo wanted(wantedPath);
    const QString first = wanted.fileName();
    const Qt::CaseSensitivity nameCase = platform::fileNameCase();
    QString newest;
    int newestNumber = 0;
    for (const QString& name : wanted.dir().entryList(QDir::Files | QDir::Hidden)) {
        if (!name.startsWith(first, nameCase))
            continue;
        int n = 1;
        if (name.size() != first.size()) {
            const std::optional<int> number = name.at(first.size()) == QLatin1Char('_')
                                                  ? copyNumber(name.mid(first.size() + 1))
                                                  : std::nullopt;
            if (!number)
                continue;
            n = *number;
        }
        if (n > newestNumber) {
            newestNumber = n;
            newest = wantedPath.chopped(first.size()) + name;
        }
    }
    const QFileInfo info(newest);
    if (newest.isEmpty() || info.isSymLink() || info.size() != contents.size())
        return std::nullopt;
    const Result<QByteArray> held = readWhole(newest, kBackupFailed);
    if (!held || held.value() != contents)
        return std::nullopt;
    return newest;
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
    // Windows drops a name's trailing dots and blanks when it opens it: a
    // copy so named could be made through "\\?\" but never opened again.
    while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' ')))
        safe.chop(1);
    return safe;
}

QString backupFolder(const QString& baseFolder) {
    return joinPath(baseFolder, kBackupFolderName);
}

QString backupPath(const QString& baseFolder, const QString& unikonName, const QString& dateText) {
    return joinPath(backupFolder(baseFolder),
                    unikonName + QLatin1Char('_') + fileNameSafe(dateText));
}

Result<QString> makeBackup(const QString& unikonPath, const QByteArray& contents,
                           const QString& wantedPath, const Wait& wait) {
    const QString folder = QFileInfo(wantedPath).absolutePath();
    removeHalfWrittenCopies(folder);
    if (std::optional<QString> same = sameNewestCopy(contents, wantedPath)) {
        platform::syncFolder(folder);
        return *same;
    }
    const QString whole = platform::replacementPath(QDir(folder).filePath(QStringLiteral("kopi")));
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
