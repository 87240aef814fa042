#pragma once

#include <QString>

// Which entries of a folder the system's own lists show, and why a folder
// cannot be listed; listing_windows.cpp and listing_posix.cpp hold the two
// sides.
namespace dalvero::platform {

// An entry of `folder` that the folder and file lists leave out, as the
// system's own lists do: a dot name on Linux; on Windows a hidden or system
// file or folder.
bool isLeftOutOfLists(const QString& folder, const QString& name);

} // namespace dalvero::platform

namespace dalvero {

// Why the folder list or a file list cannot show a folder.
inline const QString kNoSuchFolder = QStringLiteral("Mappen findes ikke");
inline const QString kNoFolderAccess = QStringLiteral("Ingen adgang til mappen");

} // namespace dalvero
