#include "unikon_merge.h"

#include "text_file.h"

#include <QHash>

namespace dalvero {

QByteArray matchKey(const QByteArray& record) {
    return ' ' + textPart(record, 5, 6) + "00" + textPart(record, 1, 3) + textPart(record, 8, 11);
}

char flagCharacter(const QByteArray& record) {
    return textPart(record, 12, 12) == "F" ? 'W' : ' ';
}

QByteArray lineHead(const QByteArray& record) {
    return matchKey(record) + flagCharacter(record);
}

Result<Lines> mergeUnikon(const Lines& records, const std::vector<bool>& selected,
                          const Lines& oldLines, const QString& unikonPath) {
    // Old lines by their characters 1 to 12, each key's lines in file order:
    // the same result as scanning every old line for every pigeon.
    QHash<QByteArray, QList<qsizetype>> byKey;
    byKey.reserve(oldLines.size());
    for (qsizetype j = 0; j < oldLines.size(); ++j)
        byKey[textPart(oldLines[j], 1, 12)].append(j);

    const auto tooMany = [&] {
        return Failure{QStringLiteral("Den nye UNIKON-liste bliver for lang"), unikonPath,
                       QStringLiteral("Den ville få mere end %1 linjer.").arg(kMaxListEntries)};
    };

    Lines merged;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (static_cast<size_t>(i) >= selected.size() || !selected[i])
            continue;
        const QByteArray head = lineHead(records[i]);
        const auto hits = byKey.constFind(matchKey(records[i]));
        if (hits == byKey.constEnd()) {
            if (merged.size() >= kMaxListEntries)
                return tooMany();
            merged.append(head + kZeroTail);
            continue;
        }
        for (const qsizetype j : *hits) {
            if (merged.size() >= kMaxListEntries)
                return tooMany();
            merged.append(head + textPart(oldLines[j], 14, 24));
        }
    }
    return merged;
}

Result<Lines> loadUnikonFile(const QString& path) {
    Result<Lines> lines = readLines(path, QStringLiteral("Kunne ikke læse UNIKON-filen"));
    if (!lines)
        return lines;
    if (Status full = checkListRoom(0, lines.value().size(),
                                    QStringLiteral("UNIKON-filen har for mange linjer"), path))
        return *full;
    return lines;
}

} // namespace dalvero
