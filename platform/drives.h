#pragma once

#include "failure.h"

#include <QList>
#include <QString>

#include <functional>

// The machine's drives as a drive list shows them; drives_windows.cpp and
// drives_posix.cpp hold the two sides.
namespace dalvero::drives {

// What the report says when a drive cannot be used.
inline const QString kDriveNotReady = QStringLiteral("Drevet er ikke klar");
// And when it has not answered in time.
inline const QString kDriveNoAnswer = QStringLiteral("Drevet svarer ikke");

struct Drive {
    QString root;    // the drive's root folder as the user's paths write it
    QString caption; // what the list shows: "c: [Windows]" on Windows
};

// Every drive, in the order the list shows them, found without waiting on
// any of them: a network drive that is gone must not stall the window. Asked
// again each time a list is opened, as sticks come and go.
QList<Drive> all();

// The root of the drive that holds `path`; on Windows, for a path on a share
// ("\\server\share\..."), the share's root "\\server\share\".
QString driveOf(const QString& path);

// The folder a folder list starts its chain at for `path`: "/" on Linux,
// whose mounts all hang under it; on Windows the root of its drive or share,
// above which there is no folder to open.
QString topOf(const QString& path);

// Asked only when the user picks the drive: fails with the system's reason
// when its root cannot be listed (an empty card reader, a network drive that
// is gone).
Status checkReady(const QString& root);

// checkReady as a job for a thread of its own, holding copies of all it
// reads: a network drive whose server is away can keep it waiting tens of
// seconds, and a window that gives up on it leaves the job to end whenever
// it does and drops its answer.
std::function<Status()> readyCheck(const QString& root);

// The check itself, as each system answers it: no seam, no thread.
Status checkRoot(const QString& root);

} // namespace dalvero::drives
