#pragma once

#include "failure.h"
#include "text_rules.h"

#include <QIODevice>

namespace dalvero {

// Reads a whole file as bytes. Anything but a plain file (a folder, a named
// pipe that would block, a device) is refused. `what` says what the file is
// for the error report.
Result<QByteArray> readWhole(const QString& path, const QString& what);

// Reads a whole 8-bit text file the user chose and splits it into lines. `what` says what
// the file is for the error report ("Kunne ikke læse eksportfilen").
Result<Lines> readLines(const QString& path, const QString& what);

// Rewrites a file with the lines, each followed by CR LF, whole or not at all:
// the new contents go to a temporary file beside it that then replaces it in
// one step. A file that may not be written (read-only for everyone, even for
// root) is refused and left as it is. Permissions and the attributes a user
// sees are kept, and a symbolic link is followed so that the file it points
// to is rewritten.
Status writeLinesWhole(const QString& path, const Lines& lines);

// Writes all of `contents`, going on after a short write, so that a write
// that cannot finish (a full disk) leaves the system's reason in the
// device's errorString() instead of none at all.
bool writeAll(QIODevice& device, const QByteArray& contents);

} // namespace dalvero
