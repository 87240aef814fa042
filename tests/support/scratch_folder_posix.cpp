// The faults Linux can make on a scratch folder's files: modes, links and
// pipes, and the system's own words for each failure.
#include "scratch_folder.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace dalvero::testing {

int permissionBits(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return static_cast<int>(info.st_mode & 07777);
}

bool setPermissionBits(const QString& path, int mode) {
    return ::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)) == 0;
}

bool makeHidden(const QString&) {
    return false;
}

bool makeSymbolicLink(const QString& target, const QString& at) {
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0;
}

bool makeNamedPipe(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

TwoDrives twoDrives() {
    return {QStringLiteral("/dev/shm"), QStringLiteral("/"), {}};
}

QString systemReason(SystemError error) {
    switch (error) {
    case SystemError::NoSuchFile:
    case SystemError::NoSuchFolder:
        return qt_error_string(ENOENT);
    case SystemError::NotAFolder:
        return qt_error_string(ENOTDIR);
    case SystemError::AccessDenied:
        return qt_error_string(EACCES);
    case SystemError::FileTooLarge:
        return qt_error_string(EFBIG);
    case SystemError::InUse:
        return qt_error_string(EBUSY);
    }
    return {};
}

} // namespace dalvero::testing
