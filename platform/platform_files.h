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

// Pushes what was written to `file` onto the disk.
bool syncToDisk(QFileDevice& file);

// A file the user may not change: no write bit for anyone on Linux (even for
// root), the read-only attribute or access rights that deny writing on
// Windows.
bool isReadOnly(const QFileInfo& info);

// The one path that reading, the backup and the rewrite of a chosen file all
// use. A symbolic link is followed by the reading and by the save alike; a
// Windows shortcut (.lnk), which Qt would follow only when saving, is no file
// of ours and is refused.
Result<QString> resolveChosenFile(const QString& path, const QString& what);

// What the rewrite must give back to the new file that replaced the old one:
// the hidden attribute on Windows. Permissions are kept by the save itself.
class KeptAttributes {
public:
    explicit KeptAttributes(const QString& path);
    void restore() const;

private:
    QString m_path;
    unsigned long m_attributes = 0;
};

} // namespace dalvero::platform
