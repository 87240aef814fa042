#pragma once

#include "drives.h"
#include "virtual_store.h"

#include <QString>

#include <functional>

// Answers a test cannot get from the machine it runs on: what only a real
// Windows PC gives (an access list on a network share that denies writing, a
// standard user in Program Files), a file another program holds, the drives
// as a stick comes and goes, a step of the rewrite that fails. While a hook
// is set, the platform layer takes its answer (an error code in the system's
// own terms: ERROR_ACCESS_DENIED on Windows, errno on Linux) in place of the
// system's own, so that a test can see what the program makes of it. Only
// the Windows half asks `openForWriting`, `makeFolder` and `replace`; both
// halves ask `held`, `drives`, `driveAsked`, `step` and `virtualStore`.
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
    // ask only fixed drives. Told on the thread that asks, off the window's
    // for a drive the user picks, and as long as the drive takes: a test
    // can stand in for a network drive whose server is away.
    std::function<void(const QString& root)> driveAsked;
    // The machine's drives, asked of both halves alike: a stick plugged in
    // or pulled out while the window is open.
    std::function<QList<drives::Drive>()> drives;
    // Asked before each call to the file system that a rewrite and its
    // backup make, on either system, with the step's name: an error code
    // (errno on Linux, the system's code on Windows) makes the call fail
    // with it untaken. A test counts the steps, fails each in turn, or ends
    // the process there.
    std::function<unsigned long(const char* step, const QString& path)> step;
    // Where Windows redirects old programs and keeps their copies, asked
    // of both halves alike: a scratch folder stands in for Program Files.
    std::function<VirtualStoreLayout()> virtualStore;
};

ScriptedAnswers& scriptedAnswers();

// The error the step is scripted to fail with; 0 lets the system answer.
unsigned long scriptedFailure(const char* step, const QString& path);

} // namespace dalvero::platform
