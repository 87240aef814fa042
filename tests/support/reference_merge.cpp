#include "reference_merge.h"

namespace dalvero::testing {

namespace {

// Characters a to b, counted from 1, without copying.
QByteArrayView part(QByteArrayView text, qsizetype from, qsizetype to) {
    if (text.size() < from)
        return {};
    return text.sliced(from - 1, std::min(to, text.size()) - from + 1);
}

} // namespace

Lines referenceMerge(const Lines& records, const std::vector<bool>& selected, const Lines& oldLines,
                     QList<LineSource>* sources) {
    Lines newLines;
    QList<LineSource> found;
    for (qsizetype i = 0; i < records.size(); ++i) {
        // A pigeon without a flag counts as not selected, as in the window.
        if (static_cast<size_t>(i) >= selected.size() || !selected[static_cast<size_t>(i)])
            continue;
        const QByteArray& record = records[i];
        QByteArray matchKey = " ";
        matchKey += part(record, 5, 6);
        matchKey += "00";
        matchKey += part(record, 1, 3);
        matchKey += part(record, 8, 11);
        const char flag = part(record, 12, 12) == QByteArrayView("F") ? 'W' : ' ';
        const QByteArray head = matchKey + flag;
        QList<qsizetype> hits;
        for (qsizetype j = 0; j < oldLines.size(); ++j) {
            if (part(oldLines[j], 1, 12) == QByteArrayView(matchKey)) {
                hits.append(j);
                newLines.append(head + part(oldLines[j], 14, 24).toByteArray());
            }
        }
        if (hits.isEmpty()) {
            newLines.append(head + "00000000000");
            found.append(LineSource{-1, 1});
        }
        for (const qsizetype j : hits)
            found.append(LineSource{qint32(j), qint32(hits.size())});
    }
    if (sources)
        *sources = found;
    return newLines;
}

} // namespace dalvero::testing
