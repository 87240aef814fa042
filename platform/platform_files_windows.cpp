#include "platform_files.h"

#include <QDir>
#include <QFile>

#include <io.h>
#include <windows.h>

// Qt checks NTFS access rights only while this counter is above zero.
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;

namespace dalvero::platform {

namespace {

std::wstring nativePath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

QChar pathSeparator() {
    return QLatin1Char('\\');
}

Status makeFolder(const QString& path, const QString& what) {
    if (::CreateDirectoryW(nativePath(path).c_str(), nullptr))
        return std::nullopt;
    return Failure{what, path, qt_error_string(static_cast<int>(::GetLastError()))};
}

bool syncToDisk(QFileDevice& file) {
    return ::_commit(file.handle()) == 0;
}

bool isReadOnly(const QFileInfo& info) {
    const DWORD attributes = ::GetFileAttributesW(nativePath(info.filePath()).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return true;
    ++qt_ntfs_permission_lookup;
    QFileInfo rights(info.filePath());
    const bool writable = rights.isWritable();
    --qt_ntfs_permission_lookup;
    return !writable;
}

Result<QString> resolveChosenFile(const QString& path, const QString& what) {
    const QFileInfo info(path);
    // Qt would follow a shortcut to whatever it names; its own bytes are no
    // list either. Neither is read, copied or written through.
    if (info.isShortcut())
        return Failure{what, path, QStringLiteral("Det er en genvej, ikke en fil")};
    return path;
}

KeptAttributes::KeptAttributes(const QString& path) : m_path(path) {
    const DWORD attributes = ::GetFileAttributesW(nativePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        m_attributes =
            attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
}

void KeptAttributes::restore() const {
    if (m_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        ::SetFileAttributesW(nativePath(m_path).c_str(), m_attributes);
}

} // namespace dalvero::platform
