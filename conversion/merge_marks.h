#pragma once

#include "line_mark.h"
#include "unikon_merge.h"

#include <QMap>

#include <vector>

namespace dalvero {

struct MergeMarks {
    std::vector<LineMark> newLines; // one for each new line
    std::vector<LineMark> oldLines; // one for each old line
    qsizetype fromOldFile = 0;      // new lines that carry an old line's tail field
    qsizetype added = 0;            // new lines of pigeons that had no old line
    qsizetype leaving = 0;          // old lines not carried over
    // Pigeons that got several lines, by how many lines they got.
    QMap<qsizetype, qsizetype> pigeonsByLines;
};

// The marks of both lists, from where each new line came from; no key is
// compared again.
MergeMarks markMerge(const QList<LineSource>& sources, qsizetype oldLineCount);

} // namespace dalvero
