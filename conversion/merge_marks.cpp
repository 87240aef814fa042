#include "merge_marks.h"

namespace dalvero {

MergeMarks markMerge(const QList<LineSource>& sources, qsizetype oldLineCount) {
    MergeMarks marks;
    marks.newLines.resize(sources.size(), LineMark::None);
    marks.oldLines.resize(oldLineCount, LineMark::Leaving);
    marks.leaving = oldLineCount;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const LineSource& source = sources[i];
        if (source.oldLine < 0 || source.oldLine >= oldLineCount) {
            marks.newLines[i] = LineMark::New;
            ++marks.added;
            continue;
        }
        ++marks.fromOldFile;
        if (marks.oldLines[source.oldLine] == LineMark::Leaving) {
            marks.oldLines[source.oldLine] = LineMark::None;
            --marks.leaving;
        }
        if (source.pigeonLines > 1) {
            marks.newLines[i] = LineMark::Doubled;
            ++marks.pigeonsByLines[source.pigeonLines];
        }
    }
    // A pigeon with n lines was counted once for each of them.
    for (auto each = marks.pigeonsByLines.begin(); each != marks.pigeonsByLines.end(); ++each)
        each.value() /= each.key();
    return marks;
}

} // namespace dalvero
