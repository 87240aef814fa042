#pragma once

#include "text_rules.h"

#include <vector>

namespace dalvero {

// The year codes of `records` that `listed` does not hold yet, each once, in
// the order they are first met. Codes are compared exactly.
Lines newYearCodes(const Lines& listed, const Lines& records);

// The selected flag of every pigeon after a year pick: the pigeons whose year
// code equals `picked` exactly are deselected, every other one is selected.
std::vector<bool> selectionAfterYearPick(const Lines& records, const QByteArray& picked);

} // namespace dalvero
