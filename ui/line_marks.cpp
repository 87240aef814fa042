#include "line_marks.h"

#include <QColor>
#include <QStringList>

namespace dalvero {

namespace {

// About a quarter of the hue over the background: light enough for black
// text on white, dark enough for white text on black.
constexpr int kTintAlpha = 64;

QString times(qsizetype count) {
    static const char* const words[] = {"to", "tre", "fire", "fem", "seks"};
    if (count >= 2 && count <= 6)
        return QString::fromLatin1(words[count - 2]);
    return QString::number(count);
}

QString sumText(qsizetype total) {
    return QStringLiteral("%1 i alt").arg(total);
}

} // namespace

QString markText(LineMark mark) {
    switch (mark) {
    case LineMark::New:
        return QStringLiteral("Ny due: ikke i den gamle fil");
    case LineMark::Leaving:
        return QStringLiteral("Udgår: kommer ikke med i den nye fil");
    case LineMark::Doubled:
        return QStringLiteral("Står flere gange i den gamle fil");
    case LineMark::ComingBack:
        return QStringLiteral("Kommer tilbage: står i kopien, ikke i filen nu");
    case LineMark::Going:
        return QStringLiteral("Forsvinder: står i filen nu, ikke i kopien");
    case LineMark::None:
        break;
    }
    return {};
}

QBrush markBrush(LineMark mark) {
    switch (mark) {
    case LineMark::New:
    case LineMark::ComingBack:
        return QColor(0, 170, 0, kTintAlpha);
    case LineMark::Leaving:
    case LineMark::Going:
        return QColor(230, 0, 0, kTintAlpha);
    case LineMark::Doubled:
        return QColor(255, 160, 0, kTintAlpha);
    case LineMark::None:
        break;
    }
    return {};
}

QString newCountBreakdown(qsizetype total, const MergeMarks& marks) {
    QStringList parts;
    if (marks.fromOldFile > 0)
        parts << QStringLiteral("%1 fra den gamle fil").arg(marks.fromOldFile);
    if (marks.added > 0)
        parts << (marks.added == 1 ? QStringLiteral("1 ny")
                                   : QStringLiteral("%1 nye").arg(marks.added));
    for (auto each = marks.pigeonsByLines.cbegin(); each != marks.pigeonsByLines.cend(); ++each)
        parts << QStringLiteral("%1 står %2 gange").arg(each.value()).arg(times(each.key()));
    const QString sum = sumText(total);
    return parts.isEmpty() ? sum : sum + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

QString oldCountBreakdown(qsizetype total, const MergeMarks& marks) {
    const QString sum = sumText(total);
    if (total == 0)
        return sum;
    if (marks.leaving == 0)
        return sum + QStringLiteral(": ingen udgår");
    return sum + QStringLiteral(": %1 udgår").arg(marks.leaving);
}

} // namespace dalvero
