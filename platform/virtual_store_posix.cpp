#include "virtual_store.h"

namespace dalvero::platform {

// Linux redirects no program's files.
VirtualStoreLayout systemVirtualStoreLayout() {
    return {};
}

} // namespace dalvero::platform
