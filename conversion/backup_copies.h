#pragma once

#include "platform/failure.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
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
    // The day the date text names, read in the short date form that wrote
    // it; invalid when it reads as no date there (the user's settings
    // changed since, or another program named the file).
    QDate date;
};

// The number after a copy's "_": makeBackup numbers from 2 on, with no
// leading zero; anything else is no number of a copy.
std::optional<int> copyNumber(const QString& text);

// Empty when `fileName` is no backup's name. The UNIKON name may hold "_"
// itself; a date text never does, always holds a digit and is never digits
// alone, which tells it from a number. `locale` is the one whose short date
// form made the name: the user's own, as WindowServices::todayText uses.
std::optional<CopyName> parseCopyName(const QString& fileName,
                                      const QLocale& locale = QLocale::system());

struct BackupCopy {
    QString path;
    QString fileName;
    CopyName name;
    // The file system's time of making, else of the last write: counted only
    // for a name whose date cannot be read.
    QDateTime fileTime;
    std::optional<qsizetype> lineCount; // none when the copy cannot be read
};

// Whether `a` is listed before `b`: the newer by what their names say, the
// date, then the number within the day (the copy without one is that day's
// first). The file system's times cannot tell: a copy of UNI_KOP made with
// the file manager gives every copy the time of that copy, and Windows keeps
// the original's last-write time. They order only names whose date cannot be
// read, after the named copies of their day. Copies of one folder, whose
// names differ, are never tied.
bool newerFirst(const BackupCopy& a, const BackupCopy& b);

// The backups in `folder`, in the order of newerFirst. Links, shortcuts and
// files of other names are no backups of ours and are left out.
Result<QList<BackupCopy>> listBackupCopies(const QString& folder,
                                           const QLocale& locale = QLocale::system());

} // namespace dalvero
