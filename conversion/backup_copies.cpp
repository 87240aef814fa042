#include "backup_copies.h"

#include "text_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace dalvero {

namespace {

bool isNumber(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

bool isDateText(const QString& text) {
    return !isNumber(text) && std::any_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

// makeBackup numbers from 2 on, with no leading zero.
std::optional<int> copyNumber(const QString& text) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!isNumber(text) || !ok || number < 2 || text != QString::number(number))
        return std::nullopt;
    return number;
}

QDateTime madeAt(const QFileInfo& info) {
    const QDateTime born = info.birthTime();
    return born.isValid() ? born : info.lastModified();
}

} // namespace

std::optional<CopyName> parseCopyName(const QString& fileName) {
    QStringList parts = fileName.split(QLatin1Char('_'));
    if (parts.size() < 2)
        return std::nullopt;
    CopyName name;
    if (const std::optional<int> number = copyNumber(parts.last()); number && parts.size() > 2) {
        name.number = *number;
        parts.removeLast();
    }
    name.dateText = parts.takeLast();
    name.unikonName = parts.join(QLatin1Char('_'));
    if (name.unikonName.isEmpty() || !isDateText(name.dateText))
        return std::nullopt;
    return name;
}

Result<QList<BackupCopy>> listBackupCopies(const QString& folder) {
    const QString what = QStringLiteral("Kunne ikke finde kopierne");
    const QFileInfo folderInfo(folder);
    if (!folderInfo.exists())
        return Failure{what, folder, QStringLiteral("Mappen findes ikke")};
    if (!folderInfo.isDir())
        return Failure{what, folder, QStringLiteral("Det er en fil, ikke en mappe")};
    if (!folderInfo.isReadable())
        return Failure{what, folder, QStringLiteral("Mappen kan ikke læses")};

    QList<BackupCopy> copies;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& info : entries) {
        const std::optional<CopyName> name = parseCopyName(info.fileName());
        if (!name || info.isSymLink() || info.isShortcut())
            continue;
        BackupCopy copy{
            joinPath(folder, info.fileName()), info.fileName(), *name, madeAt(info), {}};
        if (const Result<QByteArray> bytes = readChosenFile(copy.path, what))
            copy.lineCount = splitLines(bytes.value()).size();
        copies << copy;
    }
    std::sort(copies.begin(), copies.end(), [](const BackupCopy& a, const BackupCopy& b) {
        if (a.made != b.made)
            return a.made > b.made;
        if (a.name.unikonName == b.name.unikonName && a.name.dateText == b.name.dateText)
            return a.name.number > b.name.number;
        return a.fileName > b.fileName;
    });
    return copies;
}

} // namespace dalvero
