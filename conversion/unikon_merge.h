#pragma once

#include "platform/failure.h"
#include "text_rules.h"

#include <vector>

namespace dalvero {

// A UNIKON line: the match key (characters 1 to 12), the flag character (13)
// and the tail field (14 to 24), which is carried over unchanged.
inline constexpr char kZeroTail[] = "00000000000";

// A blank, the year code, "00", record characters 1 to 3 and 8 to 11.
QByteArray matchKey(const QByteArray& record);

// 'W' when character 12 of the record is 'F', else a blank.
char flagCharacter(const QByteArray& record);

// The match key followed by the flag character.
QByteArray lineHead(const QByteArray& record);

// Where a line of the new list came from. No list passes 32,767 lines, so
// 32 bits hold either number and keep the record small.
struct LineSource {
    // The old line whose tail field it carries, or -1 when its pigeon had no
    // old line and the tail field was filled with zeros.
    qint32 oldLine = -1;
    // How many lines its pigeon got: more than one when several old lines
    // share its key.
    qint32 pigeonLines = 1;

    friend bool operator==(const LineSource&, const LineSource&) = default;
};

struct MergedUnikon {
    Lines lines;
    QList<LineSource> sources; // one for each line
};

// The new UNIKON list: for every selected pigeon, in pigeon-list order, one
// line for each old line whose characters 1 to 12 equal its match key (in file
// order, each with that old line's tail field), or one line with a zero tail
// field when there is none. Fails when the new list would pass the list limit.
Result<MergedUnikon> mergeUnikon(const Lines& records, const std::vector<bool>& selected,
                                 const Lines& oldLines, const QString& unikonPath);

// A UNIKON file as read: its bytes, which a rewrite may go over only while
// the file still holds them, and its lines.
// What the report says when the UNIKON file cannot be read.
inline const QString kUnikonReadFailed = QStringLiteral("Kunne ikke læse UNIKON-filen");

struct UnikonFile {
    QByteArray bytes;
    Lines lines;
};

// Reads the UNIKON file; fails when it cannot be read or holds more lines
// than a list may.
Result<UnikonFile> readUnikonFile(const QString& path);

} // namespace dalvero
