#include "text_rules.h"

#include "platform_files.h"

#include <QStringList>

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

QString toDisplay(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

QStringList toDisplay(const Lines& lines) {
    QStringList texts;
    texts.reserve(lines.size());
    for (const QByteArray& line : lines)
        texts.append(QString::fromLatin1(line));
    return texts;
}

std::optional<QByteArray> fromDisplay(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return std::nullopt;
    }
    return text.toLatin1();
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
