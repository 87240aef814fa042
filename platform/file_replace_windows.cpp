#include "file_replace.h"

#include "platform_files.h"
#include "scripted_answers.h"

#include <windows.h>

namespace dalvero::platform {

namespace {

std::wstring nativePath(const QString& path) {
    return systemPath(path).toStdWString();
}

// The system's own words, with its code: what a supporter asks for.
QString systemReason(DWORD error) {
    return QStringLiteral("%1 (fejlkode %2)")
        .arg(qt_error_string(static_cast<int>(error)))
        .arg(error);
}

bool isHeld(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Writes the replacement file, every byte on the disk; 0 or the system's error.
DWORD writeReplacement(const QString& temporary, const QByteArray& contents) {
    const HANDLE file = ::CreateFileW(nativePath(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    DWORD error = ERROR_SUCCESS;
    qsizetype done = 0;
    while (error == ERROR_SUCCESS && done < contents.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(qMin<qsizetype>(contents.size() - done, 1 << 20));
        if (!::WriteFile(file, contents.constData() + done, chunk, &written, nullptr))
            error = ::GetLastError();
        done += written;
    }
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file))
        error = ::GetLastError();
    ::CloseHandle(file);
    return error;
}

// What Windows' replace keeps itself, and Wine's does not: the hidden and
// system attributes.
void giveBack(const QString& target, const WIN32_FILE_ATTRIBUTE_DATA& old) {
    constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const DWORD now = ::GetFileAttributesW(nativePath(target).c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kept) != (old.dwFileAttributes & kept))
        ::SetFileAttributesW(nativePath(target).c_str(), old.dwFileAttributes);
}

// ReplaceFileW keeps the old file's access list, owner, attributes and the
// time it was made, where a rename would give the new file the folder's; a
// file that is not there yet is simply moved into place.
DWORD replace(const QString& target, const QString& temporary) {
    if (const auto& scripted = scriptedAnswers().replace) {
        if (const DWORD error = scripted(target))
            return error;
    }
    WIN32_FILE_ATTRIBUTE_DATA old{};
    if (!::GetFileAttributesExW(nativePath(target).c_str(), GetFileExInfoStandard, &old))
        return ::MoveFileExW(nativePath(temporary).c_str(), nativePath(target).c_str(),
                             MOVEFILE_WRITE_THROUGH)
                   ? ERROR_SUCCESS
                   : ::GetLastError();
    if (::ReplaceFileW(nativePath(target).c_str(), nativePath(temporary).c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        giveBack(target, old);
        return ERROR_SUCCESS;
    }
    const DWORD error = ::GetLastError();
    // The old file is gone and the new one still has the replacement's
    // name: it only has to be moved there.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        ::MoveFileExW(nativePath(temporary).c_str(), nativePath(target).c_str(),
                      MOVEFILE_WRITE_THROUGH))
        return ERROR_SUCCESS;
    return error;
}

} // namespace

ReplaceOutcome replaceFile(const QString& path, const QByteArray& contents, const QString& what) {
    const QString target = replacing::fileToChange(path);
    replacing::removeLeftovers(target);
    const QString temporary = replacing::replacementPath(target);
    DWORD error = writeReplacement(temporary, contents);
    if (error == ERROR_ACCESS_DENIED && !QFileInfo::exists(temporary))
        // A folder that takes no new file may still let the file be written.
        return {replacing::writeInPlace(target, contents, what, path)};
    if (error == ERROR_SUCCESS)
        error = replace(target, temporary);
    if (error == ERROR_SUCCESS)
        return {};
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        return {Failure{what, path,
                        systemReason(error) +
                            QStringLiteral(" Den nye liste ligger i %1").arg(temporary)}};
    // A scanner may hold the replacement too; one that cannot go now is
    // left out of every list and removed by the next replace.
    ::DeleteFileW(nativePath(temporary).c_str());
    return {Failure{what, path, systemReason(error)}, isHeld(error)};
}

} // namespace dalvero::platform
