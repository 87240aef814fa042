#pragma once

#include "conversion/guarded_rewrite.h"
#include "expected_texts.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace dalvero::testing {

// A fresh folder for one test, removed with everything in it afterwards.
// Its paths use the platform's separator, as the paths the program shows and
// reports do.
class ScratchFolder {
public:
    ScratchFolder();

    bool isValid() const { return m_folder.isValid(); }
    QString path() const;
    // path & separator & name; `name` may hold further folders, written with
    // either separator.
    QString filePath(const QString& name) const;

    // Writes `contents` to `name` (folders on the way are made) and returns
    // its full path.
    QString writeFile(const QString& name, const QByteArray& contents) const;
    QString makeFolder(const QString& name) const;

    // Lets an unprivileged child process in: the folder itself becomes
    // searchable and writable by everyone.
    void openToEveryone() const;

private:
    QTemporaryDir m_folder;
};

// What lies at a path, without following a final symbolic link.
QByteArray fileBytes(const QString& path);
bool exists(const QString& path);
// The permission bits as a user can see and change them: the mode on Linux;
// on Windows 0444 with the read-only attribute, else 0666. Setting them on
// Windows sets the read-only attribute exactly when no write bit is given.
int permissionBits(const QString& path);
bool setPermissionBits(const QString& path, int mode);
// Gives a file Windows' hidden attribute; Linux has none to give.
bool makeHidden(const QString& path);
// A symbolic link at `at` holding `target` as it is given, and a named pipe.
// Linux's: both fail on Windows, where neither is made by a user.
bool makeSymbolicLink(const QString& target, const QString& at);
bool makeNamedPipe(const QString& path);
// A second drive to change to, and a folder on the first for the current
// folder: Linux's /dev/shm when it is a mount of its own, beside the root;
// under Wine, the temporary folder on C: beside Z:, the Linux root. On
// Windows also a share, \\dalvero-nas\klub, that setup.sh gives Wine's prefix.
struct TwoDrives {
    QString firstBase;
    QString second;
    QString share;
};
TwoDrives twoDrives();
// The system's own words for a file fault, as the program passes them on:
// they differ between the platforms, and with the language of Windows.
enum class SystemError {
    NoSuchFile,
    NoSuchFolder, // a folder on the way is missing
    NotAFolder,   // a plain file stands where a folder is needed
    AccessDenied,
    FileTooLarge,
    InUse, // another program has the file open
};
QString systemReason(SystemError error);

// The rewrite both programs make, of the file at `path` as it is now (none
// there: it is made), backed up into the backup folder under `base`.
Result<Rewritten> rewriteAsShown(const QString& path, const QByteArray& newBytes,
                                 const QString& base);

// The names in a folder, hidden ones included, sorted.
QStringList folderEntries(const QString& path);

} // namespace dalvero::testing
