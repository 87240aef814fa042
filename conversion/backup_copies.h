#pragma once

#include "failure.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace dalvero {

// What a backup's name says, read back from the name makeBackup gave it:
// the UNIKON file's name, "_", the date text made safe for a file name, and
// "_2", "_3", ... after the day's first copy.
struct CopyName {
    QString unikonName;
    QString dateText;
    int number = 1; // the day's first copy has no number of its own
};

// Empty when `fileName` is no backup's name. The UNIKON name may hold "_"
// itself; a date text never does, always holds a digit and is never digits
// alone, which tells it from a number.
std::optional<CopyName> parseCopyName(const QString& fileName);

struct BackupCopy {
    QString path;
    QString fileName;
    CopyName name;
    QDateTime made;
    std::optional<qsizetype> lineCount; // none when the copy cannot be read
};

// The backups in `folder`, newest first. A copy that the system copied keeps
// the original's last-write time on Windows, so the time the file was made
// counts where the file system keeps it; copies of one file and date made
// at the same moment go by their number. Links, shortcuts and files of
// other names are no backups of ours and are left out.
Result<QList<BackupCopy>> listBackupCopies(const QString& folder);

} // namespace dalvero
