#pragma once

#include <QString>
#include <QStringList>

// Windows lets an old program (32-bit, no manifest, not run as administrator)
// believe it writes under Program Files, Windows or ProgramData: the write
// lands in a copy under the user's VirtualStore folder, and from then on the
// program reads that copy and never the file it named. Dalvero itself is
// never redirected, so a race-clock program of that kind and Dalvero can each
// see another file under one name. virtual_store_windows.cpp asks the system
// where these folders are; Linux redirects nothing.
namespace dalvero::platform {

struct VirtualStoreLayout {
    QStringList redirected; // the folders whose files old programs see redirected
    QString root;           // the user's VirtualStore folder; empty: none
};

// The system's layout, or the one a test scripted.
VirtualStoreLayout virtualStoreLayout();
// The system's own, from virtual_store_windows.cpp or virtual_store_posix.cpp.
VirtualStoreLayout systemVirtualStoreLayout();

// Where Windows keeps an old program's copy of `path`, whether or not one is
// there; empty when `path` lies outside the redirected folders.
QString virtualStorePath(const QString& path);

} // namespace dalvero::platform
