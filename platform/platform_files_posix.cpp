#include "platform_files.h"

#include "scripted_answers.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace dalvero::platform {

QChar pathSeparator() {
    return QLatin1Char('/');
}

Status makeFolder(const QString& path, const QString& what) {
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return std::nullopt;
    return Failure{what, path, QString::fromLocal8Bit(std::strerror(errno))};
}

Qt::CaseSensitivity fileNameCase() {
    return Qt::CaseSensitive;
}

bool syncToDisk(QFileDevice& file) {
    return ::fsync(file.handle()) == 0;
}

WriteAccess writeAccess(const QFileInfo& info, QString*) {
    // WriteUser is left out: it tells what the running user may do, and root may.
    constexpr QFile::Permissions anyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (const auto& held = scriptedAnswers().held; held && held(info.filePath()))
        return WriteAccess::InUse;
    if (scriptedFailure("check: access", info.filePath()))
        return WriteAccess::Denied;
    if (!(info.permissions() & anyWrite))
        return WriteAccess::ReadOnly;
    if (!info.isWritable())
        return WriteAccess::Denied;
    // The replacement is made beside the file it replaces: the folder that
    // holds the file itself, for a symbolic link.
    const QString folder = QFileInfo(info.canonicalFilePath()).absolutePath();
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0
               ? WriteAccess::Writable
               : WriteAccess::WritableInPlace;
}

QString systemPath(const QString& path) {
    return path;
}

Result<QString> resolveChosenFile(const QString& path, const QString&) {
    return path;
}

} // namespace dalvero::platform
