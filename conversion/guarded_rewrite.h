#pragma once

#include "failure.h"
#include "text_file.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace dalvero {

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
