#include "backup_copies.h"

#include "backup.h"
#include "text_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <tuple>

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

QDateTime fileTimeOf(const QFileInfo& info) {
    const QDateTime born = info.birthTime();
    return born.isValid() ? born : info.lastModified();
}

// The date text as shortDateText wrote it and fileNameSafe kept it: a "/"
// of the form may have become "-", a trailing "." gone (names made before
// keep it, and read in the form itself). A two-digit year is read in the
// century nearest today, not in the 1900s as Qt reads it.
QDate readDate(const QString& text, const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    for (const QString& form : {format, fileNameSafe(format)}) {
        QDate date = locale.toDate(text, form);
        if (!date.isValid())
            continue;
        if (!form.contains(QStringLiteral("yyyy"))) {
            const int thisYear = QDate::currentDate().year();
            while (date.year() < thisYear - 50)
                date = date.addYears(100);
        }
        return date;
    }
    return {};
}

// The day the copy was made: what its name says, else the file's time.
QDate madeOn(const BackupCopy& copy) {
    return copy.name.date.isValid() ? copy.name.date : copy.fileTime.date();
}

// A name without a readable date counts as number 0 of its file's day.
auto newness(const BackupCopy& copy) {
    const bool named = copy.name.date.isValid();
    return std::tuple(madeOn(copy), named ? copy.name.number : 0,
                      named ? QDateTime() : copy.fileTime, copy.fileName);
}

} // namespace

std::optional<int> copyNumber(const QString& text) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!isNumber(text) || !ok || number < 2 || text != QString::number(number))
        return std::nullopt;
    return number;
}

bool newerFirst(const BackupCopy& a, const BackupCopy& b) {
    return newness(a) > newness(b);
}

std::optional<CopyName> parseCopyName(const QString& fileName, const QLocale& locale) {
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
    name.date = readDate(name.dateText, locale);
    return name;
}

Result<QList<BackupCopy>> listBackupCopies(const QString& folder, const QLocale& locale) {
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
        const std::optional<CopyName> name = parseCopyName(info.fileName(), locale);
        if (!name || info.isSymLink() || info.isShortcut())
            continue;
        BackupCopy copy{
            joinPath(folder, info.fileName()), info.fileName(), *name, fileTimeOf(info), {}};
        if (const Result<QByteArray> bytes = readChosenFile(copy.path, what))
            copy.lineCount = splitLines(bytes.value()).size();
        copies << copy;
    }
    std::sort(copies.begin(), copies.end(), newerFirst);
    return copies;
}

} // namespace dalvero
