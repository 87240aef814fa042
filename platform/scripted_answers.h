#pragma once

#include "drives.h"

#include <QString>

#include <functional>

// Answers that only a real Windows PC gives, for the tests: an access list on
// a network share that denies writing, a standard user in Program Files. While
// a hook is set, the Windows half of the platform layer takes its answer, a
// system error code (ERROR_SUCCESS, ERROR_ACCESS_DENIED, ...), in place of
// the system's own, so that a test can see what the program makes of it.
// Unset, which is always so outside such a test, the system answers.
namespace dalvero::platform {

struct ScriptedAnswers {
    std::function<unsigned long(const QString& path)> openForWriting;
    std::function<unsigned long(const QString& path)> makeFolder;
    // The replace of the file by its new bytes (ReplaceFileW); ERROR_SUCCESS
    // lets the system answer.
    std::function<unsigned long(const QString& path)> replace;
    // Another program holds the file, on either system: Linux has no such
    // locks, so there only this makes one.
    std::function<bool(const QString& path)> held;
    // Told of each call that asks a drive itself (its label, its listing),
    // which may wait on a disk or a network: building the drive lists must
    // ask only fixed drives.
    std::function<void(const QString& root)> driveAsked;
    // The machine's drives, asked of both halves alike: a stick plugged in
    // or pulled out while the window is open.
    std::function<QList<drives::Drive>()> drives;
};

ScriptedAnswers& scriptedAnswers();

} // namespace dalvero::platform
