#pragma once

#include "conversion/unikon_merge.h"

#include <vector>

namespace dalvero::testing {

// The merge written out as the plain nested scan: every selected pigeon, in
// list order, against every old line, in file order. Slow on purpose and kept
// free of the library's own helpers, so that it can judge the indexed merge.
// `sources`, when given, gets where each new line came from.
Lines referenceMerge(const Lines& records, const std::vector<bool>& selected, const Lines& oldLines,
                     QList<LineSource>* sources = nullptr);

} // namespace dalvero::testing
