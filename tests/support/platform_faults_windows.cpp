// The faults Windows can make: a file held open by another program, the
// read-only attribute. Another user and a full disk are Linux's.
#include "child_process.h"
#include "scratch_folder.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace dalvero::testing {

bool restrictThisProcess(Restriction restriction, qint64) {
    return restriction == Restriction::None;
}

void useBinaryStandardStreams() {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

ChildOutcome runRestricted(Restriction, qint64, const std::function<QByteArray()>&) {
    return {};
}

int rerunTest(const QString& test, const QStringList& variables) {
    wchar_t program[MAX_PATH];
    if (!::GetModuleFileNameW(nullptr, program, MAX_PATH))
        return -1;
    std::wstring line = L"\"" + std::wstring(program) + L"\" --gtest_filter=" + test.toStdWString();
    for (const QString& variable : variables)
        ::SetEnvironmentVariableW(variable.section(QLatin1Char('='), 0, 0).toStdWString().c_str(),
                                  variable.section(QLatin1Char('='), 1).toStdWString().c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const bool started = ::CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &process);
    for (const QString& variable : variables)
        ::SetEnvironmentVariableW(variable.section(QLatin1Char('='), 0, 0).toStdWString().c_str(),
                                  nullptr);
    if (!started)
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

HeldFile::HeldFile(const QString& path, Sharing sharing)
    : m_handle(::CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ,
                             sharing == Sharing::Nothing   ? 0
                             : sharing == Sharing::Reading ? FILE_SHARE_READ
                                                           : FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
    release();
}

bool HeldFile::isHeld() const {
    return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr;
}

void HeldFile::release() {
    if (isHeld())
        ::CloseHandle(m_handle);
    m_handle = nullptr;
}

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
