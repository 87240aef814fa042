#pragma once

#include <QString>

// Which entries of a folder the system's own lists show; listing_windows.cpp
// and listing_posix.cpp hold the two sides.
namespace dalvero::platform {

// An entry of `folder` that the folder and file lists leave out, as the
// system's own lists do: a dot name on Linux; on Windows a hidden or system
// file or folder.
bool isLeftOutOfLists(const QString& folder, const QString& name);

} // namespace dalvero::platform
