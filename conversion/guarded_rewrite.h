#pragma once

#include "platform/failure.h"
#include "platform/file_replace.h"
#include "text_file.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace dalvero {

// The reason given when another program holds the file and will not let go.
inline const QString kFileInUse =
    QStringLiteral("Filen bruges af et andet program. Luk det (fx regnearket eller "
                   "scanneren), og prøv igen.");

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
// Whether `path` may be rewritten at all: rewriteWay's refusal, if any.
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

// The reason given when the file is no longer what the user was shown.
inline const QString kChangedSinceRead =
    QStringLiteral("Filen er ændret af et andet program, siden den blev læst.");

// One rewrite of a UNIKON file the user chose, as "Dan fil" and "Læg kopien
// tilbage" both make it.
struct GuardedRewrite {
    QString chosenPath; // the file as the user chose it
    // Its bytes as they were read and shown to the user; none when it was
    // missing, and a copy is put back as it.
    std::optional<QByteArray> shownBytes;
    QString backupPath; // the backup's name; the next free one from there
    // The new bytes; none when only the backup is wanted.
    std::optional<QByteArray> newBytes;
    // What the user is to do when the file changed since it was read.
    QString whenChanged;
};

struct Rewritten {
    QString file;   // the file rewritten (a shortcut is refused, a link followed)
    QString backup; // the backup made; none for a file that was missing
};

// Resolves the chosen file, makes sure it can be rewritten (not a folder,
// not read-only, not refused, not held by another program after a few
// waits) and that it still holds the bytes shown, backs it up and puts the
// new bytes in its place. Nothing at all is written when a check refuses;
// after a backup that failed, the file is untouched. Its permissions and
// what a user sees of it are kept; a symbolic link stays, and the file it
// points to is rewritten.
Result<Rewritten> rewriteGuarded(const GuardedRewrite& job, const Wait& wait = sleepFor);

} // namespace dalvero
