#include "year_list.h"

#include "export_file.h"

#include <QSet>

namespace dalvero {

Lines newYearCodes(const Lines& listed, const Lines& records) {
    QSet<QByteArray> seen(listed.begin(), listed.end());
    Lines added;
    for (const QByteArray& record : records) {
        const QByteArray code = yearCode(record);
        if (!seen.contains(code)) {
            seen.insert(code);
            added.append(code);
        }
    }
    return added;
}

std::vector<bool> selectionAfterYearPick(const Lines& records, const QByteArray& picked) {
    std::vector<bool> selected;
    selected.reserve(records.size());
    for (const QByteArray& record : records)
        selected.push_back(yearCode(record) != picked);
    return selected;
}

} // namespace dalvero
