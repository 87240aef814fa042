#pragma once

#include <QString>

namespace dalvero {

// The file list's name match: "*" is any run of characters, "?" any one
// character, letter case does not count, and a pattern ending in ".*" also
// matches a name without a dot ("z*.*" takes "z12345").
bool matchesWildcard(const QString& name, const QString& pattern);

} // namespace dalvero
