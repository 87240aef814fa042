#include "list_limit_data.h"

#include "conversion/text_rules.h"

namespace dalvero::bench {

namespace {

QByteArray year(int pigeon) {
    return QByteArray::number(10 + pigeon % 20);
}
QByteArray ring(int pigeon) {
    return QByteArray::number(pigeon).rightJustified(5, '0');
}

} // namespace

// Record: "D", a letter and "K" (1 to 3), "-" (4), the year code (5 to 6),
// "-" (7), four ring digits (8 to 11), the marker (12), then a colour.
QByteArray fullExportFile() {
    QByteArray text = "Eksport for medlem 12345\r\nUdskrevet 07-12-2026\r\n";
    for (int pigeon = 0; pigeon < kMaxListEntries; ++pigeon) {
        const QByteArray digits = ring(pigeon);
        text += "xD" + QByteArray(1, char('A' + digits[0] - '0')) + "K-" + year(pigeon) + "-" +
                digits.mid(1) + (pigeon % 3 ? "F" : "H") + " Bl\xe5 hun\r\n";
    }
    return text;
}

QByteArray fullUnikonFile() {
    QByteArray text;
    for (int line = kMaxListEntries - 1; line >= 0; --line) {
        const QByteArray digits = ring(line);
        text += " " + year(line) + "00D" + QByteArray(1, char('A' + digits[0] - '0')) + "K" +
                digits.mid(1) + "W" + QByteArray::number(51234567890LL + line) + "\r\n";
    }
    return text;
}

} // namespace dalvero::bench
