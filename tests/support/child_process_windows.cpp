// Windows' half of the child processes: no fork, so no restricted child;
// a test run again in a process of its own, and a file held open as another
// program holds it.
#include "child_process.h"

#include <QDir>

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

} // namespace dalvero::testing
