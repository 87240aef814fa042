#pragma once

#include "platform/failure.h"
#include "text_rules.h"

#include <QIODevice>

namespace dalvero {

// Why a path names no file to read or write.
inline const QString kIsFolder = QStringLiteral("Det er en mappe, ikke en fil.");

// The largest file read into a list: room for the two header lines and a
// full list of kMaxListEntries lines of up to 2,048 bytes each, line end
// included (64 MiB and 2 KiB). An export line is about 100 bytes, so a real
// file is far below it; a bigger file cannot make a list within the limit
// from sane lines and is most likely a log or a disk image chosen by mistake,
// which read whole would freeze the window or exhaust memory.
inline constexpr qint64 kMaxListFileBytes = (kMaxListEntries + 2) * qint64(2048);

// Reads a whole file as bytes, however big. Anything but a plain file (a
// folder, a named pipe that would block, a device) is refused. `what` says
// what the file is for the error report.
Result<QByteArray> readWhole(const QString& path, const QString& what);

// Reads a whole file the user chose as bytes, refused as readLines refuses it.
Result<QByteArray> readChosenFile(const QString& path, const QString& what);

// Reads a whole 8-bit text file the user chose and splits it into lines. `what` says what
// the file is for the error report ("Kunne ikke læse eksportfilen"). A file
// bigger than kMaxListFileBytes is refused before it is read; one that grows
// past it while it is read is refused after at most one byte more.
Result<Lines> readLines(const QString& path, const QString& what);

} // namespace dalvero
