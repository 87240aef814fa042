#include "listing.h"

namespace dalvero::platform {

bool isLeftOutOfLists(const QString&, const QString& name) {
    return name.startsWith(QLatin1Char('.'));
}

} // namespace dalvero::platform
