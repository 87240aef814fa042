#include "merge_input_generator.h"

#include <array>

namespace dalvero::testing {

namespace {

const QByteArray kKeyAlphabet = "0178DKdkFW ";

} // namespace

char MergeInputGenerator::anyByte() {
    // A CR never survives line reading, so no line holds one.
    char byte = '\r';
    while (byte == '\r')
        byte = static_cast<char>(below(256));
    return byte;
}

char MergeInputGenerator::keyByte() {
    return kKeyAlphabet[below(static_cast<int>(kKeyAlphabet.size()))];
}

QByteArray MergeInputGenerator::bytes(int length, bool anyValue) {
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text += anyValue ? anyByte() : keyByte();
    return text;
}

QByteArray MergeInputGenerator::record() {
    static const char* const years[] = {"07", "08", "7 ", "O7", "o7"};
    QByteArray text = bytes(3, false);                         // 1 to 3
    text += bytes(1, true);                                    // 4, not part of the key
    text += years[below(5)];                                   // 5 to 6, the year code
    text += bytes(1, true);                                    // 7, not part of the key
    text += bytes(4, false);                                   // 8 to 11
    text += chance(30) ? 'F' : (chance(20) ? 'f' : keyByte()); // 12, the marker
    text += bytes(below(12), chance(20));                      // the rest is carried along
    return text;
}

QByteArray MergeInputGenerator::unikonLineFor(const QByteArray& record) {
    QByteArray line = keyOf(record).leftJustified(12, ' ', true);
    line += chance(50) ? 'W' : ' ';
    line += bytes(11, chance(30));
    return line;
}

QByteArray MergeInputGenerator::nearMiss(QByteArray line) {
    switch (below(4)) {
    case 0: { // one key byte off by one
        const int at = below(12);
        if (at < line.size())
            line[at] = static_cast<char>(line[at] + 1);
        return line;
    }
    case 1: { // letter case of one key byte
        const int at = below(12);
        if (at < line.size())
            line[at] = static_cast<char>(line[at] ^ 0x20);
        return line;
    }
    case 2: // the key cut short
        return line.left(below(13));
    default: // a different flag character only: still a hit
        if (line.size() > 12)
            line[12] = static_cast<char>(line[12] ^ 0x01);
        return line;
    }
}

MergeInput MergeInputGenerator::next(int pigeons, int oldLines) {
    MergeInput input;
    for (int i = 0; i < pigeons; ++i) {
        const int kind = below(100);
        if (kind < 65 || input.records.isEmpty()) {
            input.records.append(record());
        } else if (kind < 75) { // the same pigeon listed twice
            input.records.append(input.records[below(static_cast<int>(input.records.size()))]);
        } else if (kind < 85) { // same key, differs outside it
            QByteArray twin = input.records[below(static_cast<int>(input.records.size()))];
            const int at = std::array{3, 6, 11, 12}[static_cast<size_t>(below(4))];
            if (at < twin.size())
                twin[at] = static_cast<char>(twin[at] ^ 0x06);
            input.records.append(twin);
        } else if (kind < 95) { // short records, down to empty
            input.records.append(bytes(below(13), false));
        } else {
            input.records.append(bytes(below(30), true));
        }
        input.selected.push_back(chance(85));
    }
    for (int j = 0; j < oldLines; ++j) {
        const int kind = below(100);
        const QByteArray& someRecord =
            input.records.isEmpty() ? QByteArray()
                                    : input.records[below(static_cast<int>(input.records.size()))];
        if (kind < 45 || input.oldLines.isEmpty()) {
            input.oldLines.append(unikonLineFor(someRecord));
        } else if (kind < 60) { // a second line with the key of an earlier one
            QByteArray twin = input.oldLines[below(static_cast<int>(input.oldLines.size()))];
            input.oldLines.append(twin.left(12) + bytes(below(14), chance(30)));
        } else if (kind < 75) {
            input.oldLines.append(nearMiss(unikonLineFor(someRecord)));
        } else if (kind < 85) { // short lines, down to empty
            input.oldLines.append(unikonLineFor(someRecord).left(below(14)));
        } else if (kind < 93) { // overlong lines
            input.oldLines.append(unikonLineFor(someRecord) + bytes(1 + below(16), true));
        } else {
            input.oldLines.append(bytes(below(30), true));
        }
    }
    return input;
}

QByteArray exportFile(const QByteArray& header1, const QByteArray& header2, const Lines& records,
                      const QByteArray& lineEnd) {
    QByteArray file = header1 + lineEnd + header2 + lineEnd;
    for (const QByteArray& record : records)
        file += 'x' + record + lineEnd;
    return file;
}

QByteArray exportFileBytes(const Lines& records, const QByteArray& lineEnd) {
    return exportFile("Eksport af duer", "Medlem 12345", records, lineEnd);
}

QByteArray withCrLf(const Lines& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

QByteArray keyOf(const QByteArray& record) {
    return " " + record.mid(4, 2) + "00" + record.left(3) + record.mid(7, 4);
}

Lines pigeonRecords(int count) {
    Lines records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        records.append(QString::asprintf("%03d %02d %04d%c Due nummer %d", (i / 100) % 1000,
                                         i % 100, (i * 7) % 10000, i % 4 == 0 ? 'F' : ' ', i)
                           .toLatin1());
    }
    return records;
}

Lines unikonLines(int count) {
    Lines lines;
    lines.reserve(count);
    // The member's file lists the pigeons in another order than the export.
    for (int i = count - 1; i >= 0; --i) {
        lines.append(QString::asprintf(" %02d00%03d%04d%c%011d", i % 100, (i / 100) % 1000,
                                       (i * 7) % 10000, i % 4 == 0 ? 'W' : ' ', i * 13)
                         .toLatin1());
    }
    return lines;
}

} // namespace dalvero::testing
