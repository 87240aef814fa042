#pragma once

#include <QString>

namespace dalvero {

// Why the folder list or a file list cannot show a folder.
inline const QString kNoSuchFolder = QStringLiteral("Mappen findes ikke");
inline const QString kNoFolderAccess = QStringLiteral("Ingen adgang til mappen");

} // namespace dalvero
