#pragma once

#include "guarded_rewrite.h"
#include "platform/failure.h"
#include "program.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace dalvero {

// What the error report says when the backup cannot be made.
inline const QString kBackupFailed =
    QStringLiteral("Kunne ikke lave sikkerhedskopi af UNIKON-filen");

// The folder under the base folder that holds the backups; the user guide
// names it too, so its name comes from the top CMakeLists.txt.
inline const QString kBackupFolderName = QStringLiteral(DALVERO_BACKUP_FOLDER);

// Today's date (or any date) as short date text in the given locale.
QString shortDateText(const QDate& date, const QLocale& locale = QLocale::system());

// The date text with every character that cannot stand in a file name
// replaced by "-": "12/7/26" gives "12-7-26"; a trailing "." or " ", which
// Windows drops from a name, is left out: "2026. 12. 07." gives "2026. 12. 07".
QString fileNameSafe(const QString& dateText);

// base folder & "/UNI_KOP": where the backups of a run in that folder go.
QString backupFolder(const QString& baseFolder);

// base folder & "/UNI_KOP/" & UNIKON file name & "_" & date text, by plain
// concatenation; the date text is made safe for a file name first.
QString backupPath(const QString& baseFolder, const QString& unikonName, const QString& dateText);

// Copies `contents`, the UNIKON file's bytes as they were just read, to
// `wantedPath`, or, when that name is taken, to the first free of
// wantedPath & "_2", "_3", ... No existing file is ever replaced, and a copy
// that fails part-way is removed; a copy a scanner holds for a moment takes
// its name after the held file's waits. When the day's newest copy of that
// name already holds exactly these bytes (a "Dan fil" tried again after a
// refusal), no second one is made and that copy is the backup. Returns the
// path of the backup.
Result<QString> makeBackup(const QString& unikonPath, const QByteArray& contents,
                           const QString& wantedPath, const Wait& wait = sleepFor);

} // namespace dalvero
