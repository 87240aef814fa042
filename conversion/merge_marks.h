#pragma once

#include "unikon_merge.h"

#include <QMap>

#include <vector>

namespace dalvero {

// What the user should notice about a line before the file is rewritten.
enum class LineMark : quint8 {
    None,
    New,     // a new line whose pigeon had no old line: its tail field starts at zeros
    Doubled, // a new line of a pigeon that stands several times in the old file
    Leaving, // an old line that no line of the new list carries over
    // Putting a backup copy back: a line of the copy that the file lacks now,
    // and a line of the file now that the copy lacks.
    ComingBack,
    Going,
};

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
