#pragma once

#include "failure.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// Putting new bytes in the place of a file's old ones, as each system does it
// best: file_replace_windows.cpp and file_replace_posix.cpp hold the two
// sides, file_replace.cpp what they share.
namespace dalvero::platform {

// The new bytes are written to a file of this name beside the old one first:
// a dot name, which Linux lists leave out, that neither "z*.*" nor "*.txt"
// matches, so that no list of the program ever offers one.
inline const QString kReplacementPrefix = QStringLiteral(".~dalvero-");

// Whether `name` is such a replacement file (one an earlier run left behind,
// say, when the system would not let it be removed).
bool isReplacementName(const QString& name);

// How a replace went. `held` tells that another program held the file, so
// that the same replace may go through in a moment.
struct ReplaceOutcome {
    Status failed;
    bool held = false;
};

// Puts `contents` in the place of the file at `path` (of the file it links
// to, for a symbolic link). The bytes go to a replacement file beside it,
// pushed onto the disk, which then takes the old file's place in one step,
// keeping what the system lets it keep: on Windows the access list, the
// owner, the attributes and the time the file was made; on Linux the mode.
// Where the folder refuses a new file but the file itself may be written,
// the file is written in place instead, as a plain "open for output" does.
// `what` heads the failure, which names `path`.
ReplaceOutcome replaceFile(const QString& path, const QByteArray& contents, const QString& what);

// Writes all of `contents`, going on after a short write, so that a write
// that cannot finish (a full disk) leaves the system's reason in the
// device's errorString() instead of none at all.
bool writeAll(QIODevice& device, const QByteArray& contents);

// What both halves share.
namespace replacing {
// A free replacement name beside `target`.
QString replacementPath(const QString& target);
// Replacement files left beside `target` by a run that broke off.
void removeLeftovers(const QString& target);
// The file whose bytes change: the link's target for a symbolic link.
QString fileToChange(const QString& path);
// The whole file rewritten where it stands, pushed onto the disk; the old
// bytes are put back when the new ones cannot all be written.
Status writeInPlace(const QString& target, const QByteArray& contents, const QString& what,
                    const QString& shownPath);
} // namespace replacing

} // namespace dalvero::platform
