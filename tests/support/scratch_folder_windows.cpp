// The faults Windows can make on a scratch folder's files: the read-only and
// hidden attributes, and the system's own words for each failure. Links and
// pipes are Linux's.
#include "scratch_folder.h"

#include <QDir>
#include <QFile>

#include <windows.h>

namespace dalvero::testing {

int permissionBits(const QString& path) {
    const DWORD attributes =
        ::GetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
}

bool setPermissionBits(const QString& path, int mode) {
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (mode & 0222) {
        permissions |= QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
                       QFileDevice::WriteOther;
    }
    return QFile::setPermissions(path, permissions);
}

bool makeHidden(const QString& path) {
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = ::GetFileAttributesW(native.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ::SetFileAttributesW(native.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

bool makeSymbolicLink(const QString&, const QString&) {
    return false;
}

bool makeNamedPipe(const QString&) {
    return false;
}

TwoDrives twoDrives() {
    return {QDir::tempPath(), QStringLiteral("Z:\\"), QStringLiteral("\\\\dalvero-nas\\klub")};
}

QString systemReason(SystemError error) {
    switch (error) {
    case SystemError::NoSuchFile:
        return qt_error_string(ERROR_FILE_NOT_FOUND);
    case SystemError::NoSuchFolder:
    case SystemError::NotAFolder:
        return qt_error_string(ERROR_PATH_NOT_FOUND);
    case SystemError::AccessDenied:
        return qt_error_string(ERROR_ACCESS_DENIED);
    case SystemError::FileTooLarge:
        return qt_error_string(ERROR_DISK_FULL);
    case SystemError::InUse:
        return qt_error_string(ERROR_SHARING_VIOLATION);
    }
    return {};
}

} // namespace dalvero::testing
