#pragma once

#include "conversion/text_rules.h"

#include <random>
#include <vector>

namespace dalvero::testing {

struct MergeInput {
    Lines records;
    std::vector<bool> selected;
    Lines oldLines;
};

// Random pigeon lists and UNIKON files that are hard on a merge: records of
// every length around the key positions, the same record twice, old lines
// sharing a key, keys that miss by one byte or by letter case, short and
// overlong old lines, and now and then any byte at all.
class MergeInputGenerator {
public:
    explicit MergeInputGenerator(unsigned seed) : m_random(seed) {}

    MergeInput next(int pigeons, int oldLines);

    // A realistic pigeon record: ring number parts, year code, marker.
    QByteArray record();

    // The UNIKON line an earlier run would have written for the record.
    QByteArray unikonLineFor(const QByteArray& record);

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool chance(int percent) { return below(100) < percent; }
    char anyByte();
    char keyByte();
    QByteArray bytes(int length, bool anyValue);
    QByteArray nearMiss(QByteArray line);

    std::mt19937 m_random;
};

// An export file: the two header lines, then a pigeon line (a leading
// character that is dropped, then the record) per record, each ended by
// `lineEnd`; exportFileBytes gives it headers of its own.
QByteArray exportFile(const QByteArray& header1, const QByteArray& header2, const Lines& records,
                      const QByteArray& lineEnd = "\r\n");
QByteArray exportFileBytes(const Lines& records, const QByteArray& lineEnd = "\r\n");
// The lines, each ended by CR LF, as a UNIKON file holds them.
QByteArray withCrLf(const Lines& lines);
// The match key an earlier run wrote for a record: a blank, the year code,
// "00", record characters 1 to 3 and 8 to 11.
QByteArray keyOf(const QByteArray& record);

// `count` distinct 24-character UNIKON lines with zero tail fields replaced
// by running numbers, as a member's file of that size would look.
Lines unikonLines(int count);

// `count` distinct pigeon records whose keys match unikonLines(count).
Lines pigeonRecords(int count);

} // namespace dalvero::testing
