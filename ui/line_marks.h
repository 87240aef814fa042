#pragma once

#include "conversion/merge_marks.h"

#include <QBrush>
#include <QString>

namespace dalvero {

// What a mark means, in words: the line's tooltip, and what a screen reader
// says after the line. Empty for a line without a mark.
QString markText(LineMark mark);

// The tint behind a marked line. It is laid over the list's own background,
// so the text keeps the palette's colour and stays readable on a light and on
// a dark (high-contrast) background alike.
QBrush markBrush(LineMark mark);

// The counts broken down, for the tooltips of the two numbers.
QString newCountBreakdown(qsizetype total, const MergeMarks& marks);
QString oldCountBreakdown(qsizetype total, const MergeMarks& marks);

} // namespace dalvero
