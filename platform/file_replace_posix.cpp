#include "file_replace.h"

#include "scripted_answers.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dalvero::platform {

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The rename is only lasting once the folder that holds the new entry is on
// the disk too.
void syncFolder(const QString& file) {
    const int folder = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace

ReplaceOutcome replaceFile(const QString& path, const QByteArray& contents, const QString& what) {
    const QString target = replacing::fileToChange(path);
    replacing::removeLeftovers(target);
    const QString temporary = replacing::replacementPath(target);
    const QByteArray temporaryName = QFile::encodeName(temporary);
    const int fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        // A folder that takes no new file may still let the file be written.
        if (error == EACCES || error == EPERM)
            return {replacing::writeInPlace(target, contents, what, path)};
        return {Failure{what, path, systemReason(error)}};
    }
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    struct stat old {};
    bool written = writeAll(file, contents) && file.flush();
    QString reason = file.errorString();
    if (written && ::fsync(fd) != 0) {
        written = false;
        reason = systemReason(errno);
    }
    if (written && ::stat(QFile::encodeName(target).constData(), &old) == 0 &&
        ::fchmod(fd, old.st_mode & 07777) != 0) {
        written = false;
        reason = systemReason(errno);
    }
    file.close();
    if (written &&
        ::rename(temporaryName.constData(), QFile::encodeName(target).constData()) != 0) {
        written = false;
        reason = systemReason(errno);
    }
    if (!written) {
        ::unlink(temporaryName.constData());
        return {Failure{what, path, reason}};
    }
    syncFolder(target);
    return {};
}

} // namespace dalvero::platform
