#include "drives.h"

#include "platform_files.h"
#include "scripted_answers.h"

#include <QDir>

#include <windows.h>

namespace dalvero::drives {

namespace {

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

void asking(const QString& root) {
    if (const auto& told = platform::scriptedAnswers().driveAsked)
        told(root);
}

// The volume label, asked of local fixed drives only: they answer at once,
// where a removable or network drive may keep the window waiting.
QString label(const QString& root) {
    if (::GetDriveTypeW(native(root).c_str()) != DRIVE_FIXED)
        return {};
    asking(root);
    wchar_t name[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationW(native(root).c_str(), name, MAX_PATH + 1, nullptr, nullptr,
                                 nullptr, nullptr, 0))
        return {};
    return QString::fromWCharArray(name);
}

} // namespace

// Every drive letter in use, from the system's own table: no drive is asked
// whether it is ready (Qt's drive list asks removable and CD drives, waits
// while a disk spins up and leaves out an empty card reader), and an empty
// drive is listed as Windows' own lists do.
QList<Drive> all() {
    if (const auto& scripted = platform::scriptedAnswers().drives)
        return scripted();
    QList<Drive> drives;
    const DWORD letters = ::GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(letters & (1u << letter)))
            continue;
        const QString root = QChar(u'A' + letter) + QStringLiteral(":\\");
        // As Windows' own drive lists write it: "c:", then the label.
        QString caption = root.left(2).toLower();
        if (const QString name = label(root); !name.isEmpty())
            caption += QStringLiteral(" [%1]").arg(name);
        drives.append({root, caption});
    }
    return drives;
}

QString driveOf(const QString& path) {
    const QString native = QDir::toNativeSeparators(QDir(path).absolutePath());
    if (!native.startsWith(QStringLiteral("\\\\")))
        return native.left(3);
    // "\\server\share" is the root of a share, as "c:\" is of a drive.
    const qsizetype server = native.indexOf(QLatin1Char('\\'), 2);
    const qsizetype share = server < 0 ? -1 : native.indexOf(QLatin1Char('\\'), server + 1);
    return (share < 0 ? native : native.left(share)) + QLatin1Char('\\');
}

QString topOf(const QString& path) {
    return driveOf(path);
}

Status checkRoot(const QString& root) {
    WIN32_FIND_DATAW found;
    const HANDLE listing =
        ::FindFirstFileExW(platform::systemPath(root + QStringLiteral("*")).toStdWString().c_str(),
                           FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
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
