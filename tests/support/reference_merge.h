#pragma once

#include "text_rules.h"

#include <vector>

namespace dalvero::testing {

// The merge written out as the plain nested scan: every selected pigeon, in
// list order, against every old line, in file order. Slow on purpose and kept
// free of the library's own helpers, so that it can judge the indexed merge.
Lines referenceMerge(const Lines& records, const std::vector<bool>& selected,
                     const Lines& oldLines);

} // namespace dalvero::testing
