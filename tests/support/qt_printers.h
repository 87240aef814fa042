#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable gtest output for the Qt types the window tests compare.
inline std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text;
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toPercentEncoding(" !#$&'()*+,-./:;<=>?@[]^_`{|}~").toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{';
    for (const QString& each : list)
        *out << each << ", ";
    *out << '}';
}
