#include "drives.h"

#include <QDir>

#include <windows.h>

namespace dalvero::drives {

namespace {

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// The volume label, asked of local fixed drives only: they answer at once,
// where a removable or network drive may keep the window waiting.
QString label(const QString& root) {
    if (::GetDriveTypeW(native(root).c_str()) != DRIVE_FIXED)
        return {};
    wchar_t name[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationW(native(root).c_str(), name, MAX_PATH + 1, nullptr, nullptr,
                                 nullptr, nullptr, 0))
        return {};
    return QString::fromWCharArray(name);
}

} // namespace

QList<Drive> all() {
    QList<Drive> drives;
    for (const QFileInfo& drive : QDir::drives()) {
        const QString root = QDir::toNativeSeparators(drive.filePath());
        // As Windows' own drive lists write it: "c:", then the label.
        QString caption = root.left(2).toLower();
        if (const QString name = label(root); !name.isEmpty())
            caption += QStringLiteral(" [%1]").arg(name);
        drives.append({root, caption});
    }
    return drives;
}

QString driveOf(const QString& path) {
    return QDir::toNativeSeparators(QDir(path).absolutePath()).left(3);
}

Status checkReady(const QString& root) {
    WIN32_FIND_DATAW found;
    const HANDLE listing =
        ::FindFirstFileExW(native(root + QStringLiteral("*")).c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, 0);
    if (listing != INVALID_HANDLE_VALUE) {
        ::FindClose(listing);
        return std::nullopt;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) // an empty drive is ready
        return std::nullopt;
    return Failure{kDriveNotReady, root, qt_error_string(static_cast<int>(error))};
}

} // namespace dalvero::drives
