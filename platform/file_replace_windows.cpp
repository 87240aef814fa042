#include "file_replace.h"

#include "platform_files.h"
#include "scripted_answers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <optional>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace dalvero::platform {

namespace {

std::wstring nativePath(const QString& path) {
    return systemPath(path).toStdWString();
}

// Runs one call to the system unless the step is scripted to fail; 0 or the
// system's error.
template <typename Call> DWORD step(const char* name, const QString& path, Call call) {
    if (const DWORD error = scriptedFailure(name, path))
        return error;
    return call() ? ERROR_SUCCESS : ::GetLastError();
}

Failure failure(const QString& what, const QString& shown, DWORD error) {
    return Failure{what, shown, replacing::systemReason(error)};
}

// Controlled folder access answers a blocked create with "not found" or
// "access denied" in a folder that is plainly there.
Failure createRefused(const QString& what, const QString& shown, const QString& path, DWORD error) {
    Failure refused = failure(what, shown, error);
    const DWORD folder = ::GetFileAttributesW(nativePath(QFileInfo(path).absolutePath()).c_str());
    if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_ACCESS_DENIED) &&
        folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY))
        refused.reason = kProtectedFolder + QLatin1Char(' ') + refused.reason;
    return refused;
}

// Which file a path names, whatever its name: the volume and the file's
// index (GetFileInformationByHandle's page).
struct FileId {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> fileId(const QString& path) {
    const HANDLE file = ::CreateFileW(nativePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    if (!known)
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Where the file `id` lies in `folder` now, under whatever name; empty when
// it is not there.
QString whereIs(const std::optional<FileId>& id, const QString& folder) {
    if (!id)
        return {};
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (fileId(dir.filePath(name)) == id)
            return dir.filePath(name);
    }
    return {};
}

// The file that took the name is no leftover to hide.
void unhide(const QString& path) {
    const DWORD now = ::GetFileAttributesW(nativePath(path).c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_HIDDEN))
        ::SetFileAttributesW(nativePath(path).c_str(), now & ~FILE_ATTRIBUTE_HIDDEN);
}

// What Windows' replace keeps itself, and Wine's does not: the hidden and
// system attributes of the old file.
void giveBack(const QString& target, const WIN32_FILE_ATTRIBUTE_DATA& old) {
    constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const DWORD now = ::GetFileAttributesW(nativePath(target).c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kept) != (old.dwFileAttributes & kept))
        ::SetFileAttributesW(nativePath(target).c_str(), old.dwFileAttributes);
}

DWORD moveWithoutReplacing(const QString& from, const QString& to, const char* name) {
    return step(name, to, [&] {
        return ::MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                             MOVEFILE_WRITE_THROUGH);
    });
}

// ReplaceFileW keeps the old file's access list, owner, attributes and the
// time it was made, where a rename would give the new file the folder's; a
// file that is not there yet is simply moved into place.
DWORD replace(const QString& target, const QString& temporary) {
    WIN32_FILE_ATTRIBUTE_DATA old{};
    if (!::GetFileAttributesExW(nativePath(target).c_str(), GetFileExInfoStandard, &old)) {
        const DWORD error = moveWithoutReplacing(temporary, target, "replace: move");
        if (error == ERROR_SUCCESS)
            unhide(target);
        return error;
    }
    DWORD error = ERROR_SUCCESS;
    if (const auto& scripted = scriptedAnswers().replace)
        error = scripted(target);
    if (error == ERROR_SUCCESS)
        error = scriptedFailure("replace: replace", target);
    // A scripted answer leaves the files as the system would (ReplaceFileW's
    // page): after 1176 the old file is removed, after 1177 it lies under
    // another name; the new bytes stay under the replacement's name.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        ::DeleteFileW(nativePath(target).c_str());
    else if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        ::MoveFileExW(
            nativePath(target).c_str(),
            nativePath(
                QFileInfo(target).dir().filePath(
                    QStringLiteral("~RF%1.TMP").arg(QRandomGenerator::global()->generate(), 0, 16)))
                .c_str(),
            0);
    else if (error == ERROR_SUCCESS &&
             !::ReplaceFileW(nativePath(target).c_str(), nativePath(temporary).c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        error = ::GetLastError();
    if (error == ERROR_SUCCESS)
        giveBack(target, old);
    return error;
}

} // namespace

namespace replacing {
// The system's own words, with its code: what a supporter asks for.
QString systemReason(unsigned long error) {
    return QStringLiteral("%1 (fejlkode %2)")
        .arg(qt_error_string(static_cast<int>(error)))
        .arg(error);
}

// Another program has the file open without sharing it, has locked part of
// it, or has a view of it mapped (which keeps it from being cut short).
bool isHeld(unsigned long error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_USER_MAPPED_FILE;
}

// Shared as a plain "open for output" shares it: a program that keeps the
// file open for writing lets it be written.
unsigned long openInPlace(const QString& target, QFile& file) {
    const HANDLE handle = ::CreateFileW(nativePath(target).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return ERROR_INVALID_HANDLE;
    }
    file.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle);
    return ERROR_SUCCESS;
}

// All of it, past its end too: LockFileEx refuses at once where another
// program holds a lock on any part.
unsigned long lockInPlace(QFile& file) {
    OVERLAPPED from{};
    if (::LockFileEx(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle())),
                     LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                     &from))
        return ERROR_SUCCESS;
    return ::GetLastError();
}

// Unlocked before the handle closes: the system may take its time
// otherwise (UnlockFileEx's page).
void unlockInPlace(QFile& file) {
    OVERLAPPED from{};
    ::UnlockFileEx(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle())), 0, MAXDWORD, MAXDWORD,
                   &from);
}

unsigned long truncateInPlace(QFile& file, qint64 size) {
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    LARGE_INTEGER end{};
    end.QuadPart = size;
    if (::SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle))
        return ERROR_SUCCESS;
    return ::GetLastError();
}
} // namespace replacing

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

Status writeNewFile(const QString& path, const QByteArray& contents, const QString&, bool hidden,
                    const QString& what, const QString& shown, bool* refused) {
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = step("new file: create", path, [&] {
        file = ::CreateFileW(nativePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != INVALID_HANDLE_VALUE;
    });
    if (error != ERROR_SUCCESS) {
        if (refused)
            *refused = error == ERROR_ACCESS_DENIED;
        return createRefused(what, shown, path, error);
    }
    qsizetype done = 0;
    while (error == ERROR_SUCCESS && done < contents.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(qMin<qsizetype>(contents.size() - done, 1 << 20));
        error = step("new file: write", path, [&] {
            return ::WriteFile(file, contents.constData() + done, chunk, &written, nullptr);
        });
        done += written;
    }
    if (error == ERROR_SUCCESS)
        error = step("new file: sync", path, [&] { return ::FlushFileBuffers(file); });
    ::CloseHandle(file);
    if (error == ERROR_SUCCESS)
        return std::nullopt;
    ::DeleteFileW(nativePath(path).c_str());
    return failure(what, shown, error);
}

// A scanner opens the new copy the moment it is closed: held (32), or
// refused while it has it (5).
MoveOutcome moveToFreeName(const QString& from, const QString& to, const QString& what) {
    const DWORD error = moveWithoutReplacing(from, to, "copy: name");
    if (error == ERROR_SUCCESS)
        return {};
    const bool held = replacing::isHeld(error);
    return {failure(what, to, error), error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS,
            held || error == ERROR_ACCESS_DENIED, held};
}

// MOVEFILE_WRITE_THROUGH has put the new entry on the disk already.
void syncFolder(const QString&) {}

bool removeFile(const QString& path) {
    return step("remove", path, [&] { return ::DeleteFileW(nativePath(path).c_str()); }) ==
           ERROR_SUCCESS;
}

Status moveIntoPlace(const QString& stranded, const QString& path, const QString& what) {
    const DWORD error = moveWithoutReplacing(stranded, path, "replace: move");
    if (error != ERROR_SUCCESS)
        return failure(what, path, error);
    unhide(path);
    return std::nullopt;
}

ReplaceOutcome replacing::takeName(const QString& temporary, const QString& target,
                                   const QString& what, const QString& path) {
    const std::optional<FileId> old = fileId(target);
    const DWORD error = replace(target, temporary);
    if (error == ERROR_SUCCESS)
        return {};
    ReplaceOutcome outcome{failure(what, path, error)};
    // The answer says what is where (ReplaceFileW's page), whatever has
    // since taken the name: after these two the new bytes are only under
    // the replacement's name. They stay there, shown, until they can take
    // the file's name.
    if ((error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
         error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) &&
        QFileInfo::exists(temporary)) {
        unhide(temporary);
        outcome.retry = true;
        outcome.stranded = temporary;
        outcome.oldMovedAside = error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
        if (outcome.oldMovedAside)
            outcome.oldFile = whereIs(old, QFileInfo(target).absolutePath());
        return outcome;
    }
    // Both files keep their names. The old one could not be deleted, or not
    // yet: it may still be written where it stands. A scanner may hold the
    // replacement for a moment; it is kept for the next try.
    const bool held = isHeld(error);
    outcome.inPlace =
        held || error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
    if (held || error == ERROR_ACCESS_DENIED) {
        outcome.retry = true;
        outcome.held = held;
        outcome.pending = temporary;
        return outcome;
    }
    ::DeleteFileW(nativePath(temporary).c_str());
    return outcome;
}

} // namespace dalvero::platform
