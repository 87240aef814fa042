#include "process.h"

namespace dalvero::platform {

void markRunning() {}

void quietSystemErrorBoxes() {}

void holdSessionEnd(void*, const QString&) {}

void releaseSessionEnd(void*) {}

} // namespace dalvero::platform
