#pragma once

#include "failure.h"

#include <QFileInfo>
#include <QString>

class QFileDevice;

// What files and folders do differently on Windows and on Linux, each in one
// function: platform_files_windows.cpp and platform_files_posix.cpp hold the
// two sides.
namespace dalvero::platform {

// The separator that joins a folder and a name in the paths the user sees.
QChar pathSeparator();

// Makes one folder; the reason is the system's own when it fails. The name
// goes to the system as Unicode, never through an 8-bit code page.
Status makeFolder(const QString& path, const QString& what);

// Whether two names of one folder name the same file: Windows does not tell
// "Z12345" from "z12345".
Qt::CaseSensitivity fileNameCase();

// Pushes what was written to `file` onto the disk.
bool syncToDisk(QFileDevice& file);

// Whether the rewrite may go ahead, as the file system answers it.
enum class WriteAccess {
    Writable,        // may be replaced whole
    WritableInPlace, // may be written but not replaced: another program
                     // shares writing but not deleting, rights without
                     // delete, a folder that takes no new file
    ReadOnly,        // no write bit for anyone on Linux (even for root); on Windows
                     // the read-only attribute or a write-protected medium
    Denied,          // the system refuses the user: no write bit for this user on
                     // Linux; on Windows access denied on opening it for writing
                     // (an access list, Controlled Folder Access, a pending delete)
    InUse,           // Windows: another program has it open and will not share it
    Refused,         // an answer not known to allow writing: the system's reason
                     // is given in `reason`
};
WriteAccess writeAccess(const QFileInfo& info, QString* reason = nullptr);

// The form of `path` that the program's own calls to the system take at any
// length: on Windows the absolute path with "\\?\" before it ("\\?\UNC\"
// for a share), as it is when it has the prefix already; elsewhere the path.
QString systemPath(const QString& path);

// The one path that reading, the backup and the rewrite of a chosen file all
// use. A symbolic link is followed by the reading and by the save alike; a
// Windows shortcut (.lnk), which Qt would follow only when saving, is no file
// of ours and is refused.
Result<QString> resolveChosenFile(const QString& path, const QString& what);

} // namespace dalvero::platform
