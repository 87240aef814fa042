#pragma once

#include "failure.h"
#include "text_rules.h"

#include <QIODevice>

namespace dalvero {

// The reason given when another program holds the file and will not let go.
inline const QString kFileInUse =
    QStringLiteral("Filen bruges af et andet program. Luk det (fx regnearket eller "
                   "scanneren), og prøv igen.");

// The largest file read into a list: room for the two header lines and a
// full list of kMaxListEntries lines of up to 2,048 bytes each, line end
// included (64 MiB and 4 KiB). An export line is about 100 bytes, so a real
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

// Rewrites a file with `contents`, whole or not at all: the new contents go to
// a temporary file beside it that then replaces it in one step. A file that
// may not be written (read-only for everyone, even for root) is refused and
// left as it is. Permissions and the attributes a user sees are kept, and a
// symbolic link is followed so that the file it points to is rewritten.
Status writeWhole(const QString& path, const QByteArray& contents);

// The same with the lines, each followed by CR LF.
Status writeLinesWhole(const QString& path, const Lines& lines);

// Why writeWhole would refuse `path` before touching it (a folder, a
// read-only file), so that a caller can stop before its own first step.
Status checkRewritable(const QString& path);

// Writes all of `contents`, going on after a short write, so that a write
// that cannot finish (a full disk) leaves the system's reason in the
// device's errorString() instead of none at all.
bool writeAll(QIODevice& device, const QByteArray& contents);

} // namespace dalvero
