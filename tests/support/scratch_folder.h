#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <sys/types.h>

namespace dalvero::testing {

// A fresh folder for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder();

    bool isValid() const { return m_folder.isValid(); }
    QString path() const { return m_folder.path(); }
    // path & "/" & name; `name` may hold further folders.
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
mode_t permissionBits(const QString& path);
bool setPermissionBits(const QString& path, mode_t mode);
// The names in a folder, hidden ones included, sorted.
QStringList folderEntries(const QString& path);

} // namespace dalvero::testing
