#include "restore_marks.h"

#include <QHash>

namespace dalvero {

namespace {

// Marks each line of `lines` that `other` has no unmatched equal of.
std::vector<LineMark> unmatched(const Lines& lines, const Lines& other, LineMark mark,
                                qsizetype& count) {
    QHash<QByteArray, qsizetype> left;
    for (const Line& line : other)
        ++left[line];
    std::vector<LineMark> marks(lines.size(), LineMark::None);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        auto match = left.find(lines[i]);
        if (match != left.end() && match.value() > 0) {
            --match.value();
            continue;
        }
        marks[i] = mark;
        ++count;
    }
    return marks;
}

} // namespace

RestoreMarks markRestore(const Lines& fileNow, const Lines& copy) {
    RestoreMarks marks;
    marks.fileLines = unmatched(fileNow, copy, LineMark::Going, marks.going);
    marks.copyLines = unmatched(copy, fileNow, LineMark::ComingBack, marks.comingBack);
    return marks;
}

} // namespace dalvero
