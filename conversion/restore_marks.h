#pragma once

#include "line_mark.h"
#include "text_rules.h"

#include <vector>

namespace dalvero {

// What putting a backup copy back over a file changes, line by line.
struct RestoreMarks {
    std::vector<LineMark> fileLines; // one for each line of the file now: Going or None
    std::vector<LineMark> copyLines; // one for each line of the copy: ComingBack or None
    qsizetype going = 0;
    qsizetype comingBack = 0;
};

// Whole lines compared as multisets: a line that stands twice in the copy and
// once in the file comes back once. Of equal lines, the first ones match.
RestoreMarks markRestore(const Lines& fileNow, const Lines& copy);

} // namespace dalvero
