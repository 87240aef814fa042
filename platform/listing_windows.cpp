#include "listing.h"

#include "file_replace.h"
#include "platform_files.h"

#include <QDir>

#include <windows.h>

namespace dalvero::platform {

bool isLeftOutOfLists(const QString& folder, const QString& name) {
    if (isReplacementName(name))
        return true;
    // Qt's own listing leaves out hidden entries but not system ones.
    const QString path = systemPath(QDir(folder).filePath(name));
    const DWORD attributes = ::GetFileAttributesW(path.toStdWString().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

} // namespace dalvero::platform
