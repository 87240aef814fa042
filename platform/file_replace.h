#pragma once

#include "failure.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;
class QIODevice;

// Putting new bytes in the place of a file's old ones, as each system does it
// best: file_replace_windows.cpp and file_replace_posix.cpp hold the two
// sides, file_replace.cpp what they share.
//
// Why not QSaveFile: it renames a new file over the old one, so on Windows
// the file loses its access list, owner and the time it was made (ReplaceFileW
// keeps them), and on Linux its owner. It cannot write in place where the
// file may be written but not replaced (a race-clock program that shares
// writing but not deleting, rights without delete, a folder that takes no
// new file), cannot tell the caller that the old file is gone while the new
// bytes wait under another name (ReplaceFileW's 1176 and 1177), and cannot
// try the same replace again on the same, already synced file while a
// scanner holds it for a moment.
namespace dalvero::platform {

// The new bytes are written to a file of this name beside the old one first:
// a dot name, which Linux lists leave out, that neither "z*.*" nor "*.txt"
// matches, so that no list of the program ever offers one.
inline const QString kReplacementPrefix = QStringLiteral(".~dalvero-");

// Whether `name` is such a replacement file (one an earlier run left behind,
// say, when the system would not let it be removed).
bool isReplacementName(const QString& name);

// How the new bytes take the old ones' place, chosen before anything is
// written, as the file system answers for the file and its folder.
enum class Way {
    Replace, // a replacement file beside it takes its name in one step
    InPlace, // the file itself is written over, as a plain "open for output"
             // does: where the file may be written but not replaced (another
             // program shares writing but not deleting, rights without
             // delete, a folder that takes no new file)
};

// What a create refused in a folder that is there most likely means on
// Windows: the user can allow the program, and no retry helps until then.
inline const QString kProtectedFolder =
    QStringLiteral("Windows' beskyttelse mod ransomware (Kontrolleret mappeadgang) kan blokere "
                   "Dalvero: tillad Dalvero under Windows-sikkerhed → Beskyttelse mod virus og "
                   "trusler → Beskyttelse mod ransomware.");

// How a replace went. `retry` tells that the file was held or refused for
// a moment, so that the same step may go through shortly; `held` that
// another program had it open. `stranded`
// names the replacement that holds the new bytes when the old file is gone
// and the new one could not take its name: it must never be removed.
struct ReplaceOutcome {
    Status failed;
    bool retry = false;
    bool held = false;
    QString stranded = {};
    // The whole replacement, on the disk, kept for the next try: a scanner
    // that opens each new file is given one, once, and the replace alone is
    // tried again.
    QString pending = {};
    // The old file stays where it was and may still be written in place:
    // the replace could not delete it (a program that shares it, rights
    // without delete).
    bool inPlace = false;
    // The replace moved the old file aside before it failed (1177), and
    // where to: empty when it could not be found.
    bool oldMovedAside = false;
    QString oldFile = {};
};

// Puts `contents` in the place of the file at `path` (of the file it links
// to, for a symbolic link), the `way` chosen; `old` are its bytes as the
// user was shown them, which writing in place puts back when the new ones
// cannot all be written (none for a file that was missing). Replace: the bytes go to a
// replacement file beside it, pushed onto the disk, which then takes the old
// file's place in one step, keeping what the system lets it keep: on Windows
// the access list, the owner, the attributes and the time the file was
// made; on Linux the mode. Where the folder turns out to take no new file,
// the file is written in place instead. `what` heads the failure, which
// names `path`.
ReplaceOutcome replaceFile(const QString& path, const QByteArray& contents,
                           const std::optional<QByteArray>& old, const QString& what,
                           Way way = Way::Replace);

// The step that failed in `last`, tried again as it was: the stranded
// replacement's move, the replace with the same replacement, or the
// writing in place.
ReplaceOutcome replaceAgain(const ReplaceOutcome& last, const QString& path,
                            const QByteArray& contents, const std::optional<QByteArray>& old,
                            const QString& what);

// Removes the replacement kept for another try, once none follows.
void dropReplacement(ReplaceOutcome& outcome);

// Gives a stranded replacement the name of the file it replaces.
Status moveIntoPlace(const QString& stranded, const QString& path, const QString& what);

// `path` as the system's own lists and dialogs spell it.
QString shownPath(const QString& path);

// Writes `contents` to the new file `path`, every byte pushed onto the
// disk, with the mode of the file `like` (Linux); hidden when asked
// (Windows). A file that cannot be written whole is removed again; the
// failure names `shown`. `refused` tells that the folder took no new file
// for want of rights.
Status writeNewFile(const QString& path, const QByteArray& contents, const QString& like,
                    bool hidden, const QString& what, const QString& shown,
                    bool* refused = nullptr);

// Gives the whole file `from` the name `to` where no entry has that name;
// `taken` when one has. Nothing is ever replaced. `retry` and `held` as for
// a replace: a scanner that opened the new file a moment ago.
struct MoveOutcome {
    Status failed;
    bool taken = false;
    bool retry = false;
    bool held = false;
};
MoveOutcome moveToFreeName(const QString& from, const QString& to, const QString& what);

// Makes the entries of `folder` lasting: a new name is only on the disk
// once its folder is.
void syncFolder(const QString& folder);

// Removes a file of ours; false when it stays.
bool removeFile(const QString& path);

// Writes all of `contents`, going on after a short write, so that a write
// that cannot finish (a full disk) leaves the system's reason in the
// device's errorString() instead of none at all.
bool writeAll(QIODevice& device, const QByteArray& contents);

// A free name of ours beside `target`, for a file that becomes `target`.
QString replacementPath(const QString& target);

// The error the step is scripted to fail with, as a failure naming `shown`.
Status scriptedStep(const char* step, const QString& path, const QString& what,
                    const QString& shown);

// What both halves share.
namespace replacing {
// The system's own words for an error code (errno, or Windows' code).
QString systemReason(unsigned long error);
// Files of ours left beside `target` by a run that broke off; kept while
// `target` is missing, as one of them may hold its only bytes.
void removeLeftovers(const QString& target);
// The file whose bytes change: the link's target for a symbolic link.
QString fileToChange(const QString& path);
// The whole replacement `temporary` takes the name of `target`, as each
// system does it best; the failure names `path`, the file as chosen.
ReplaceOutcome takeName(const QString& temporary, const QString& target, const QString& what,
                        const QString& path);
// The whole file rewritten where it stands, pushed onto the disk; `old`
// (the bytes the user was shown, never a new read, which a lock on part of
// the file could cut short) is put back when the new ones cannot all be
// written. Another program's lock or mapped view refuses it before any byte
// changes. Only ever after the backup is whole on the disk: a stop part-way
// leaves it short.
ReplaceOutcome writeInPlace(const QString& target, const QByteArray& contents,
                            const QByteArray& old, const QString& what, const QString& shownPath);
// Each system's part of that. Opens the existing file for reading and
// writing: 0 or the system's answer.
unsigned long openInPlace(const QString& target, QFile& file);
// Keeps every other program from writing or locking any part of the open
// file while it is written (Windows; nothing elsewhere).
unsigned long lockInPlace(QFile& file);
void unlockInPlace(QFile& file);
// Cuts the open file short to `size`.
unsigned long truncateInPlace(QFile& file, qint64 size);
// Whether the system's answer says another program holds the file.
bool isHeld(unsigned long error);
} // namespace replacing

} // namespace dalvero::platform
