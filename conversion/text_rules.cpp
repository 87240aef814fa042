#include "text_rules.h"

#include "platform/platform_files.h"

#include <QStringList>

#include <cstring>

namespace dalvero {

QByteArrayView textPartView(QByteArrayView text, qsizetype from, qsizetype to) {
    if (from < 1 || to < from || from > text.size())
        return {};
    return text.sliced(from - 1, qMin(to, text.size()) - from + 1);
}

QByteArray textPart(const QByteArray& text, qsizetype from, qsizetype to) {
    return textPartView(text, from, to).toByteArray();
}

Lines splitLines(const QByteArray& contents) {
    Lines lines;
    qsizetype start = 0;
    const qsizetype size = contents.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (contents[i] != '\r')
            continue;
        lines.append(contents.mid(start, i - start));
        if (i + 1 < size && contents[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(contents.mid(start));
    return lines;
}

QByteArray joinLines(const Lines& lines) {
    qsizetype total = 0;
    for (const QByteArray& line : lines)
        total += line.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

namespace {

// The characters Windows-1252 shows for the bytes 0x80 to 0x9F, by hand: Qt
// decodes this code page only with ICU, which our Windows build lacks. Its
// five undefined bytes keep their own code.
constexpr char16_t kWindows1252High[32] = {
    u'\u20ac', u'\u0081', u'\u201a', u'\u0192', u'\u201e', u'\u2026', u'\u2020', u'\u2021',
    u'\u02c6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008d', u'\u017d', u'\u008f',
    u'\u0090', u'\u2018', u'\u2019', u'\u201c', u'\u201d', u'\u2022', u'\u2013', u'\u2014',
    u'\u02dc', u'\u2122', u'\u0161', u'\u203a', u'\u0153', u'\u009d', u'\u017e', u'\u0178'};

bool isHighControl(char16_t code) {
    return code >= 0x80 && code < 0xa0;
}

// Whether a byte is one of 0x80 to 0x9F: bit 7 set, bits 6 and 5 clear.
// Eight bytes at a time, as most lines have none and every shown line is
// looked at.
bool hasHighControl(QByteArrayView bytes) {
    constexpr quint64 kBit7 = 0x8080808080808080;
    const char* at = bytes.data();
    qsizetype left = bytes.size();
    for (; left >= 8; at += 8, left -= 8) {
        quint64 word;
        std::memcpy(&word, at, 8);
        // Bits 6 and 5 of each byte shifted onto its bit 7.
        if (word & ~(word << 1) & ~(word << 2) & kBit7)
            return true;
    }
    for (; left > 0; ++at, --left) {
        if (isHighControl(static_cast<uchar>(*at)))
            return true;
    }
    return false;
}

// The byte that shows as `code`, or -1 when none does.
int byteShownAs(char16_t code) {
    if (code <= 0xff && !isHighControl(code))
        return code;
    for (int i = 0; i < 32; ++i) {
        if (kWindows1252High[i] == code)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString toDisplay(const QByteArray& bytes) {
    // Latin-1 is right for every byte but 0x80 to 0x9F, which most lines lack.
    QString text = QString::fromLatin1(bytes);
    if (!hasHighControl(bytes))
        return text;
    for (QChar& c : text) {
        if (isHighControl(c.unicode()))
            c = QChar(kWindows1252High[c.unicode() - 0x80]);
    }
    return text;
}

QStringList toDisplay(const Lines& lines) {
    QStringList texts;
    texts.reserve(lines.size());
    for (const QByteArray& line : lines)
        texts.append(toDisplay(line));
    return texts;
}

std::optional<QByteArray> fromDisplay(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text) {
        const int byte = byteShownAs(c.unicode());
        if (byte < 0)
            return std::nullopt;
        *out++ = static_cast<char>(byte);
    }
    return bytes;
}

Status checkListRoom(qsizetype current, qsizetype adding, const QString& what,
                     const QString& path) {
    if (current + adding <= kMaxListEntries)
        return std::nullopt;
    return Failure{what, path,
                   QStringLiteral("Listen ville få %1 linjer; der kan højst være %2.")
                       .arg(current + adding)
                       .arg(kMaxListEntries)};
}

QString joinPath(const QString& folder, const QString& name) {
    return folder + platform::pathSeparator() + name;
}

} // namespace dalvero
