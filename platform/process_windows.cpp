#include "process.h"

#include <windows.h>

namespace dalvero::platform {

void markRunning() {
    // Kept open until the process ends, which closes it.
    static const HANDLE running =
        ::CreateMutexW(nullptr, FALSE, L"Global\\" DALVERO_RUNNING_MUTEX_W);
    (void)running;
}

void quietSystemErrorBoxes() {
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
}

} // namespace dalvero::platform
