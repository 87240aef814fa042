#include "file_replace.h"

#include "platform_files.h"
#include "scripted_answers.h"

#include <QDir>
#include <QFileInfo>

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

bool isHeld(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

Failure failure(const QString& what, const QString& shown, DWORD error) {
    return Failure{what, shown, replacing::systemReason(error)};
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
    // A scripted answer leaves the files as the system would: after this
    // one the old file is removed, the new bytes still under the
    // replacement's name.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        ::DeleteFileW(nativePath(target).c_str());
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
        return failure(what, shown, error);
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

MoveOutcome moveToFreeName(const QString& from, const QString& to, const QString& what) {
    const DWORD error = moveWithoutReplacing(from, to, "copy: name");
    if (error == ERROR_SUCCESS)
        return {};
    return {failure(what, to, error), error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS};
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
    const DWORD error = replace(target, temporary);
    if (error == ERROR_SUCCESS)
        return {};
    // The old file is gone and the new bytes are only under the
    // replacement's name: they stay there, shown, until they can take the
    // name.
    if (!QFileInfo::exists(target) && QFileInfo::exists(temporary)) {
        unhide(temporary);
        return {failure(what, path, error), true, false, temporary};
    }
    // A scanner may hold the replacement too; one that cannot go now is
    // left out of every list and removed by the next replace.
    ::DeleteFileW(nativePath(temporary).c_str());
    return {failure(what, path, error), isHeld(error) || error == ERROR_ACCESS_DENIED,
            isHeld(error)};
}

} // namespace dalvero::platform
