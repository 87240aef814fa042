#include "unikon_merge.h"

#include "text_file.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace dalvero {

namespace {

constexpr qsizetype kLineLength = 24;

// Characters 1 to 12 of a line packed with their length into two words, so
// that the index compares and hashes integers rather than byte strings.
struct PackedKey {
    quint64 low = 0;
    quint64 high = 0;
    friend bool operator==(PackedKey, PackedKey) = default;
};

size_t qHash(PackedKey key, size_t seed = 0) {
    return qHashMulti(seed, key.low, key.high);
}

PackedKey pack(QByteArrayView key) {
    char bytes[16] = {};
    std::copy(key.begin(), key.end(), bytes); // an empty key may have no data at all
    bytes[15] = static_cast<char>(key.size());
    PackedKey packed;
    std::memcpy(&packed.low, bytes, 8);
    std::memcpy(&packed.high, bytes + 8, 8);
    return packed;
}

// Old lines by their characters 1 to 12: the first line of each key, and for
// every line the next one with the same key, so that each key's lines come in
// file order.
class OldLineIndex {
public:
    explicit OldLineIndex(const Lines& oldLines) : m_next(oldLines.size(), -1) {
        m_first.reserve(oldLines.size());
        for (qsizetype j = oldLines.size() - 1; j >= 0; --j) {
            qsizetype& first = m_first[pack(textPartView(oldLines[j], 1, 12))];
            m_next[j] = first - 1;
            first = j + 1;
        }
    }

    // The first old line with this key, or -1. A key is never longer than 12.
    qsizetype first(QByteArrayView key) const { return m_first.value(pack(key)) - 1; }
    // The next old line with the same key as line j, or -1.
    qsizetype next(qsizetype j) const { return m_next[j]; }

private:
    QHash<PackedKey, qsizetype> m_first; // line index + 1, so that 0 means none

    QList<qsizetype> m_next;
};

} // namespace

QByteArray matchKey(const QByteArray& record) {
    // Room for the whole line, so that the head and tail field are added
    // without moving it.
    QByteArray key;
    key.reserve(kLineLength);
    key.append(' ')
        .append(textPartView(record, 5, 6))
        .append("00")
        .append(textPartView(record, 1, 3))
        .append(textPartView(record, 8, 11));
    return key;
}

char flagCharacter(const QByteArray& record) {
    return textPartView(record, 12, 12) == "F" ? 'W' : ' ';
}

QByteArray lineHead(const QByteArray& record) {
    return matchKey(record).append(flagCharacter(record));
}

Result<MergedUnikon> mergeUnikon(const Lines& records, const std::vector<bool>& selected,
                                 const Lines& oldLines, const QString& unikonPath) {
    // Looking the key up gives the same lines, in the same order, as scanning
    // every old line for every pigeon.
    const OldLineIndex index(oldLines);
    MergedUnikon merged;
    const qsizetype expected = qMin(records.size(), kMaxListEntries);
    merged.lines.reserve(expected);
    merged.sources.reserve(expected);
    const auto append = [&](QByteArray line, qsizetype oldLine) -> Status {
        if (merged.lines.size() >= kMaxListEntries)
            return Failure{QStringLiteral("Den nye UNIKON-liste bliver for lang"), unikonPath,
                           QStringLiteral("Den ville få mere end %1 linjer.").arg(kMaxListEntries)};
        merged.lines.append(std::move(line));
        merged.sources.append(LineSource{static_cast<qint32>(oldLine), 1});
        return std::nullopt;
    };

    for (qsizetype i = 0; i < records.size(); ++i) {
        if (static_cast<size_t>(i) >= selected.size() || !selected[i])
            continue;
        QByteArray head = lineHead(records[i]);
        const QByteArrayView key = QByteArrayView(head).chopped(1);
        qsizetype j = index.first(key);
        if (j < 0) {
            if (Status full = append(head.append(kZeroTail), -1))
                return *full;
            continue;
        }
        const qsizetype pigeonFirst = merged.lines.size();
        for (; j >= 0; j = index.next(j)) {
            // The last line of the pigeon takes the head's buffer itself.
            QByteArray line = index.next(j) < 0 ? std::move(head) : head;
            if (Status full = append(line.append(textPartView(oldLines[j], 14, 24)), j))
                return *full;
        }
        const auto pigeonLines = static_cast<qint32>(merged.lines.size() - pigeonFirst);
        if (pigeonLines > 1) {
            for (qsizetype k = pigeonFirst; k < merged.lines.size(); ++k)
                merged.sources[k].pigeonLines = pigeonLines;
        }
    }
    return merged;
}

Result<UnikonFile> readUnikonFile(const QString& path) {
    Result<QByteArray> bytes = readChosenFile(path, kUnikonReadFailed);
    if (!bytes)
        return bytes.failure();
    UnikonFile file{std::move(bytes).value(), {}};
    file.lines = splitLines(file.bytes);
    if (Status full = checkListRoom(0, file.lines.size(),
                                    QStringLiteral("UNIKON-filen har for mange linjer"), path))
        return *full;
    return file;
}

} // namespace dalvero
