#include "virtual_store.h"

#include <QDir>

// windows.h first: the known folders' ids need its definitions.
#include <windows.h>

#include <shlobj.h>

namespace dalvero::platform {

namespace {

// The folder's path as this user's Windows has it; empty when it has none
// (a known folder that does not exist on this system answers E_INVALIDARG).
QString knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path);
    const QString folder = SUCCEEDED(result) ? QString::fromWCharArray(path) : QString();
    // Freed whether or not the call succeeded, as its page asks.
    ::CoTaskMemFree(path);
    return folder;
}

} // namespace

// The folders Microsoft names as virtualized: Program Files (both of them on
// a 64-bit system), the Windows folder and ProgramData. The store is
// %LOCALAPPDATA%\VirtualStore.
VirtualStoreLayout systemVirtualStoreLayout() {
    VirtualStoreLayout layout;
    for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86,
                                    &FOLDERID_Windows, &FOLDERID_ProgramData}) {
        if (const QString folder = knownFolder(*id); !folder.isEmpty())
            layout.redirected << folder;
    }
    if (const QString local = knownFolder(FOLDERID_LocalAppData); !local.isEmpty())
        layout.root = QDir::toNativeSeparators(local + QStringLiteral("\\VirtualStore"));
    return layout;
}

} // namespace dalvero::platform
