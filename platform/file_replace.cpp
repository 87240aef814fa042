#include "file_replace.h"

#include "platform_files.h"
#include "scripted_answers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace dalvero::platform {

bool isReplacementName(const QString& name) {
    return name.startsWith(kReplacementPrefix);
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

QString replacementPath(const QString& target) {
    const QFileInfo info(target);
    const QString base = kReplacementPrefix + info.fileName() + QLatin1Char('-');
    for (;;) {
        const QString candidate =
            info.dir().filePath(base + QString::number(QRandomGenerator::global()->generate(), 36) +
                                QStringLiteral(".tmp"));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

Status scriptedStep(const char* step, const QString& path, const QString& what,
                    const QString& shown) {
    if (const unsigned long error = scriptedFailure(step, path))
        return Failure{what, shown, replacing::systemReason(error)};
    return std::nullopt;
}

namespace replacing {

void removeLeftovers(const QString& target) {
    const QFileInfo info(target);
    if (!info.exists())
        return;
    QDir folder = info.dir();
    const QString pattern = kReplacementPrefix + info.fileName() + QStringLiteral("-*.tmp");
    for (const QString& name :
         folder.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System))
        removeFile(folder.filePath(name));
}

QString fileToChange(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? path : target;
}

ReplaceOutcome writeInPlace(const QString& target, const QByteArray& contents,
                            const QByteArray& old, const QString& what, const QString& shownPath) {
    QFile file;
    // Nothing has changed yet when any of these refuses: a file cut short
    // first, so that a mapped view refuses before a byte is written.
    unsigned long error = scriptedFailure("in place: open", target);
    if (!error)
        error = openInPlace(target, file);
    if (!error)
        error = scriptedFailure("in place: lock", target);
    if (!error)
        error = lockInPlace(file);
    if (!error)
        error = scriptedFailure("in place: size", target);
    if (!error && contents.size() < file.size())
        error = truncateInPlace(file, contents.size());
    if (error) {
        if (file.isOpen())
            unlockInPlace(file);
        return {Failure{what, shownPath, systemReason(error)}, isHeld(error), isHeld(error)};
    }
    const auto write = [&](const QByteArray& bytes) {
        return file.seek(0) && writeAll(file, bytes) && file.flush() && file.resize(bytes.size());
    };
    Status failed = scriptedStep("in place: write", target, what, shownPath);
    if (!failed && !write(contents))
        failed = Failure{what, shownPath, file.errorString()};
    if (!failed)
        failed = scriptedStep("in place: sync", target, what, shownPath);
    if (!failed && !syncToDisk(file))
        failed = Failure{what, shownPath, file.errorString()};
    if (failed && write(old))
        syncToDisk(file);
    unlockInPlace(file);
    return {failed};
}

} // namespace replacing

ReplaceOutcome replaceFile(const QString& path, const QByteArray& contents,
                           const std::optional<QByteArray>& old, const QString& what, Way way) {
    const QString target = replacing::fileToChange(path);
    replacing::removeLeftovers(target);
    if (way == Way::InPlace && old)
        return replacing::writeInPlace(target, contents, *old, what, path);
    const QString temporary = replacementPath(target);
    bool refused = false;
    if (Status failed = writeNewFile(temporary, contents, target, true, what, path, &refused)) {
        // A folder that takes no new file may still let the file be written.
        if (refused && old)
            return replacing::writeInPlace(target, contents, *old, what, path);
        return {failed};
    }
    return replacing::takeName(temporary, target, what, path);
}

ReplaceOutcome replaceAgain(const ReplaceOutcome& last, const QString& path,
                            const QByteArray& contents, const std::optional<QByteArray>& old,
                            const QString& what) {
    if (!last.stranded.isEmpty()) {
        ReplaceOutcome next = last;
        next.failed = moveIntoPlace(last.stranded, path, what);
        return next;
    }
    const QString target = replacing::fileToChange(path);
    if (!last.pending.isEmpty())
        return replacing::takeName(last.pending, target, what, path);
    if (!old)
        return last;
    return replacing::writeInPlace(target, contents, *old, what, path);
}

void dropReplacement(ReplaceOutcome& outcome) {
    if (!outcome.pending.isEmpty())
        removeFile(outcome.pending);
    outcome.pending.clear();
}

} // namespace dalvero::platform
