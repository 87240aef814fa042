#include "platform_files.h"

#include "file_replace.h"
#include "scripted_answers.h"

#include <QDir>
#include <QFile>

#include <io.h>
#include <windows.h>

namespace dalvero::platform {

namespace {

std::wstring nativePath(const QString& path) {
    return systemPath(path).toStdWString();
}

// The system's error on opening the file with `access`, 0 when it opened.
// Full sharing, closed at once: nothing is changed, and no other program is
// kept from the file.
DWORD openForWritingError(const QString& path, DWORD access) {
    if (const auto& scripted = scriptedAnswers().openForWriting)
        return scripted(path);
    if (const DWORD error = scriptedFailure("check: open", path))
        return error;
    const HANDLE file = ::CreateFileW(nativePath(path).c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(file);
    return ERROR_SUCCESS;
}

// An answer that says neither yes nor why not (a busy network, a drive
// gone, a file no longer there) is no leave to write: the user reads it
// before any copy is made.
WriteAccess refused(DWORD error, QString* reason) {
    if (reason)
        *reason = replacing::systemReason(error);
    return WriteAccess::Refused;
}

} // namespace

QChar pathSeparator() {
    return QLatin1Char('\\');
}

Status makeFolder(const QString& path, const QString& what) {
    DWORD error = ERROR_SUCCESS;
    if (const auto& scripted = scriptedAnswers().makeFolder)
        error = scripted(path);
    else if (!::CreateDirectoryW(nativePath(path).c_str(), nullptr))
        error = ::GetLastError();
    if (error == ERROR_SUCCESS)
        return std::nullopt;
    return Failure{what, path, qt_error_string(static_cast<int>(error))};
}

Qt::CaseSensitivity fileNameCase() {
    return Qt::CaseInsensitive;
}

bool syncToDisk(QFileDevice& file) {
    return ::_commit(file.handle()) == 0;
}

// The file system is asked, not the file's access list: on a network share
// the list names the server's accounts, so reading it against the local
// login says "no write" where the server would allow it.
WriteAccess writeAccess(const QFileInfo& info, QString* reason) {
    if (const auto& held = scriptedAnswers().held; held && held(info.filePath()))
        return WriteAccess::InUse;
    // Asked on its own, as an administrator may open a read-only file for
    // writing all the same.
    const DWORD attributes = ::GetFileAttributesW(nativePath(info.filePath()).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return WriteAccess::ReadOnly;
    // The replace opens the file for deleting (ReplaceFileW's page): a
    // program that shares writing but not deleting, or rights without
    // delete, leave only writing it in place.
    const DWORD whole = openForWritingError(info.filePath(), GENERIC_WRITE | DELETE);
    switch (whole) {
    case ERROR_SUCCESS:
        return WriteAccess::Writable;
    case ERROR_WRITE_PROTECT:
        return WriteAccess::ReadOnly;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        break;
    default:
        return refused(whole, reason);
    }
    const DWORD inPlace = openForWritingError(info.filePath(), GENERIC_WRITE);
    switch (inPlace) {
    case ERROR_SUCCESS:
        return WriteAccess::WritableInPlace;
    case ERROR_WRITE_PROTECT:
        return WriteAccess::ReadOnly;
    case ERROR_ACCESS_DENIED:
        return WriteAccess::Denied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WriteAccess::InUse;
    default:
        return refused(inPlace, reason);
    }
}

QString systemPath(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    if (native.startsWith(QLatin1String("\\\\?\\")))
        return native;
    // The prefixed form is taken as it stands, so "." and ".." are resolved
    // and a relative path completed first.
    const QString absolute = QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
    if (absolute.startsWith(QLatin1String("\\\\")))
        return QStringLiteral("\\\\?\\UNC\\") + absolute.mid(2);
    return QStringLiteral("\\\\?\\") + absolute;
}

Result<QString> resolveChosenFile(const QString& path, const QString& what) {
    const QFileInfo info(path);
    // Qt would follow a shortcut to whatever it names; its own bytes are no
    // list either. Neither is read, copied or written through.
    if (info.isShortcut())
        return Failure{what, path, QStringLiteral("Det er en genvej, ikke en fil")};
    return path;
}

} // namespace dalvero::platform
