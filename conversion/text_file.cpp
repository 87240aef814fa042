#include "text_file.h"

#include "platform/file_replace.h"
#include "platform/platform_files.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <optional>

namespace dalvero {

namespace {

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
    if (Status failed = platform::scriptedStep("read", path, what, path))
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

} // namespace dalvero
