#include "process.h"

namespace dalvero::platform {

void markRunning() {}

void quietSystemErrorBoxes() {}

void holdSessionEnd(quintptr, const QString&) {}

void releaseSessionEnd(quintptr) {}

} // namespace dalvero::platform
