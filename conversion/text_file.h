#pragma once

#include "failure.h"
#include "file_replace.h"
#include "text_rules.h"

#include <QIODevice>

#include <functional>
#include <optional>

namespace dalvero {

// The reason given when another program holds the file and will not let go.
inline const QString kFileInUse =
    QStringLiteral("Filen bruges af et andet program. Luk det (fx regnearket eller "
                   "scanneren), og prøv igen.");

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

// What the report says when the UNIKON file cannot be rewritten.
inline const QString kWriteFailed = QStringLiteral("Kunne ikke skrive UNIKON-filen");

// The reason given when the system refuses the user the file: an access
// list, Controlled Folder Access, a file about to be deleted.
inline const QString kAccessDenied =
    QStringLiteral("Adgang nægtet. Systemet lader ikke Dalvero skrive i filen (fx Kontrolleret "
                   "mappeadgang eller filens rettigheder).");

// How a caller waits a moment for another program to let go of a file, so
// that a window can keep repainting meanwhile.
using Wait = std::function<void(int ms)>;
// Sleeps the thread: for callers with no window.
void sleepFor(int ms);

// A scanner, the indexer or a sync client lets go of a file within a second
// or so: each step that finds the file held is tried again after these waits
// before the user is told.
inline constexpr int kWaitsMs[] = {100, 200, 400, 800};

// How `path` will be rewritten, or why it cannot be (a folder, a read-only
// file or medium, access denied, a file another program holds), before
// anything is written. A held file is looked at again after a few short
// waits, about 1.5 s in all; with no `wait`, it is reported at once.
Result<platform::Way> rewriteWay(const QString& path, const Wait& wait = sleepFor);
// The same, only why not.
Status checkRewritable(const QString& path, const Wait& wait = sleepFor);

// Puts `contents` in the place of the file's old bytes the way chosen (see
// platform::replaceFile), trying the same replace of the same replacement
// again after the same waits while another program holds or refuses the
// file; then, for a file that still may not be replaced, in place, where
// `old` (the bytes the user was shown) is what goes back on a failure. The
// file never goes missing: new bytes left under another name while it is
// gone are moved to it, and named in the report where they cannot be.
// Nothing is checked first.
Status putInPlace(const QString& path, const QByteArray& contents,
                  const std::optional<QByteArray>& old, platform::Way way = platform::Way::Replace,
                  const Wait& wait = sleepFor);

} // namespace dalvero
