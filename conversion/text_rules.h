#pragma once

#include "platform/failure.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace dalvero {

// Export and UNIKON files are 8-bit text: one byte is one character and
// positions count bytes. Lines are kept as raw bytes throughout.
using Line = QByteArray;
using Lines = QList<QByteArray>;

// No list of the window may hold more entries than this.
inline constexpr qsizetype kMaxListEntries = 32767;

// Characters a to b of a text, counted from 1. Runs to the end of the text
// when it is shorter and is empty when it has fewer than a characters.
// Never fails.
QByteArray textPart(const QByteArray& text, qsizetype from, qsizetype to);
// The same part as a view into `text`, for hot paths that need no copy.
QByteArrayView textPartView(QByteArrayView text, qsizetype from, qsizetype to);

// Splits file contents into lines: CR LF or a lone CR ends a line and is
// dropped; a LF without a CR before it is an ordinary character. Contents
// ending in a line end give no extra empty line; nothing is trimmed.
Lines splitLines(const QByteArray& contents);

// Every line followed by CR LF, the last one too.
QByteArray joinLines(const Lines& lines);

// Bytes shown in a widget: the files come from Windows programs in the
// Danish code page, so each byte shows as its Windows-1252 character (0x80 as
// "€", 0x84 as "„", 0x96 as "–"). The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) show as the Latin-1 characters of
// the same code, so that every byte has a character of its own and survives
// the round trip through the window unchanged.
QString toDisplay(const QByteArray& bytes);
QStringList toDisplay(const Lines& lines);

// The reverse mapping; empty when the text holds a character that no byte
// shows as: one above U+00FF that Windows-1252 lacks (which no file ever
// gives, but typed text might), or one of U+0080..U+009F that a
// Windows-1252 character has taken the byte of (U+0080, as 0x80 shows as "€").
std::optional<QByteArray> fromDisplay(const QString& text);

// Fails when adding `adding` entries to a list of `current` entries would
// pass the limit of kMaxListEntries.
Status checkListRoom(qsizetype current, qsizetype adding, const QString& what, const QString& path);

// Joins a folder and a bare file name by plain concatenation with the
// system's separator (a backslash on Windows); nothing is normalised, so a
// folder "/" gives "//name" and a drive root "C:\" gives "C:\\name".
QString joinPath(const QString& folder, const QString& name);

} // namespace dalvero
