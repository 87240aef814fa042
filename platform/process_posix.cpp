#include "process.h"

namespace dalvero::platform {

void markRunning() {}

void quietSystemErrorBoxes() {}

} // namespace dalvero::platform
