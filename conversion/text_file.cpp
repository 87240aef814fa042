#include "text_file.h"

#include "platform_files.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QThread>

#include <optional>

namespace dalvero {

namespace {

const QString kWriteWhat = QStringLiteral("Kunne ikke skrive UNIKON-filen");
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

namespace {

// What no wait changes: a folder, or a file the user may not change.
Status refuseUnwritable(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return Failure{kWriteWhat, path, kIsFolder};
    if (info.exists() && platform::writeAccess(info) == platform::WriteAccess::ReadOnly)
        return Failure{kWriteWhat, path, QStringLiteral("Filen er skrivebeskyttet.")};
    return std::nullopt;
}

bool heldByAnotherProgram(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && platform::writeAccess(info) == platform::WriteAccess::InUse;
}

// One atomic save: the new contents go to a temporary file beside the old
// one, which then replaces it in one step. `held` tells whether another
// program held the file, before the save or by making the replace fail.
Status saveOnce(const QString& path, const QByteArray& contents, bool& held) {
    held = heldByAnotherProgram(path);
    if (held)
        return Failure{kWriteWhat, path, kFileInUse};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{kWriteWhat, path, file.errorString()};
    if (!writeAll(file, contents)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure{kWriteWhat, path, reason};
    }
    if (!file.commit()) {
        held = file.error() == QFileDevice::RenameError && platform::replaceMayBeHeld();
        return Failure{kWriteWhat, path, file.errorString()};
    }
    return std::nullopt;
}

} // namespace

Status checkRewritable(const QString& path) {
    if (Status refused = refuseUnwritable(path))
        return refused;
    if (heldByAnotherProgram(path))
        return Failure{kWriteWhat, path, kFileInUse};
    return std::nullopt;
}

Status writeWhole(const QString& path, const QByteArray& contents) {
    if (Status refused = refuseUnwritable(path))
        return refused;

    // The new file replaces the old one: what the save does not carry over
    // itself is given back afterwards.
    const platform::KeptAttributes kept(path);
    // A scanner, the indexer or a sync client lets go of a file within a
    // second or so: the whole save is tried again, the old file whole each
    // time, before the user is told.
    static constexpr int kWaitsMs[] = {100, 200, 400, 800};
    bool held = false;
    Status failed = saveOnce(path, contents, held);
    for (int wait : kWaitsMs) {
        if (!failed || !held)
            break;
        QThread::msleep(wait);
        failed = saveOnce(path, contents, held);
    }
    if (failed && held)
        failed->reason = kFileInUse;
    if (!failed)
        kept.restore();
    return failed;
}

Status writeLinesWhole(const QString& path, const Lines& lines) {
    return writeWhole(path, joinLines(lines));
}

} // namespace dalvero
