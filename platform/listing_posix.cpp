#include "listing.h"

#include "file_replace.h"

namespace dalvero::platform {

bool isLeftOutOfLists(const QString&, const QString& name) {
    return name.startsWith(QLatin1Char('.')) || isReplacementName(name);
}

} // namespace dalvero::platform
