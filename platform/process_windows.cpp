#include "process.h"

#include "program.h"

#include <QString>

#include <windows.h>

#include <sddl.h>

namespace dalvero::platform {

namespace {

// Every account may wait on the mark (SYNCHRONIZE, 0x00100000), an
// administrator's elevated installer included: by default only the user who
// started Dalvero and SYSTEM could open it, and the installer of another
// account would be refused the mark and take Dalvero for closed.
constexpr wchar_t kAnyoneMayWait[] = L"D:(A;;0x00100000;;;WD)";

} // namespace

void markRunning() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(kAnyoneMayWait, SDDL_REVISION_1,
                                                           &descriptor, nullptr);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    // Asking for no more than waiting lets a second copy, of any account, hold
    // the mark that the first made: it lasts until the last copy ends. Kept
    // open until the process ends, which closes it.
    static const HANDLE running = ::CreateMutexExW(descriptor ? &attributes : nullptr,
                                                   DALVERO_RUNNING_MUTEX_W, 0, SYNCHRONIZE);
    (void)running;
    ::LocalFree(descriptor);
}

void quietSystemErrorBoxes() {
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
}

// Windows asks each program before it ends the session; with a reason set,
// it names the program and the reason instead of ending it after a while.
void holdSessionEnd(void* window, const QString& reason) {
    if (window)
        ::ShutdownBlockReasonCreate(static_cast<HWND>(window), reason.toStdWString().c_str());
}

void releaseSessionEnd(void* window) {
    if (window)
        ::ShutdownBlockReasonDestroy(static_cast<HWND>(window));
}

} // namespace dalvero::platform
