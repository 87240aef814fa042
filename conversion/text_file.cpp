#include "text_file.h"

#include "platform_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace dalvero {

namespace {
const QString kWriteWhat = QStringLiteral("Kunne ikke skrive UNIKON-filen");
}

Result<QByteArray> readWhole(const QString& path, const QString& what) {
    const QFileInfo info(path);
    if (info.isDir())
        return Failure{what, path, QStringLiteral("Det er en mappe, ikke en fil.")};
    if (info.exists() && !info.isFile())
        return Failure{what, path, QStringLiteral("Det er ikke en almindelig fil.")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{what, path, file.errorString()};
    QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure{what, path, file.errorString()};
    return contents;
}

Result<Lines> readLines(const QString& path, const QString& what) {
    const Result<QString> file = platform::resolveChosenFile(path, what);
    if (!file)
        return file.failure();
    const Result<QByteArray> contents = readWhole(file.value(), what);
    if (!contents)
        return contents.failure();
    return splitLines(contents.value());
}

bool writeAll(QIODevice& device, const QByteArray& contents) {
    qint64 done = 0;
    while (done < contents.size()) {
        const qint64 written = device.write(contents.constData() + done, contents.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

Status writeLinesWhole(const QString& path, const Lines& lines) {
    const QFileInfo info(path);
    if (info.isDir())
        return Failure{kWriteWhat, path, QStringLiteral("Det er en mappe, ikke en fil.")};
    if (info.exists() && platform::isReadOnly(info))
        return Failure{kWriteWhat, path, QStringLiteral("Filen er skrivebeskyttet.")};

    // The new file replaces the old one: what the save does not carry over
    // itself is given back afterwards.
    const platform::KeptAttributes kept(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{kWriteWhat, path, file.errorString()};
    const QByteArray contents = joinLines(lines);
    if (!writeAll(file, contents)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure{kWriteWhat, path, reason};
    }
    if (!file.commit())
        return Failure{kWriteWhat, path, file.errorString()};
    kept.restore();
    return std::nullopt;
}

} // namespace dalvero
