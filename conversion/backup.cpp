#include "backup.h"

#include "file_replace.h"
#include "platform_files.h"
#include "text_file.h"
#include "text_rules.h"

#include <QFile>
#include <QFileInfo>

namespace dalvero {

namespace {

// Writes `contents` to a file that must not exist yet. A copy that fails
// part-way is removed again. On failure `exists` tells whether the name
// turned out to be taken meanwhile.
Status writeNewFile(const QString& path, const QByteArray& contents, QFile::Permissions perms,
                    bool& exists) {
    exists = false;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        exists = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
        return Failure{kBackupFailed, path, out.errorString()};
    }
    const bool written =
        platform::writeAll(out, contents) && out.flush() && platform::syncToDisk(out);
    if (!written) {
        const QString reason = out.errorString();
        out.close();
        out.remove();
        return Failure{kBackupFailed, path, reason};
    }
    out.setPermissions(perms);
    return std::nullopt;
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
                           const QString& wantedPath) {

    // The *User flags tell what the running user may do (root may write a
    // read-only file); setPermissions would turn them into owner bits.
    const QFile::Permissions perms = QFileInfo(unikonPath).permissions() &
                                     ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    for (int n = 1; n < 100000; ++n) {
        const QString candidate =
            n == 1 ? wantedPath : wantedPath + QLatin1Char('_') + QString::number(n);
        bool taken = QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink();
        if (taken)
            continue;
        Status failed = writeNewFile(candidate, contents, perms, taken);
        if (!failed)
            return candidate;
        if (!taken)
            return *failed;
    }
    return Failure{kBackupFailed, wantedPath, QStringLiteral("Der er ikke flere ledige navne.")};
}

} // namespace dalvero
