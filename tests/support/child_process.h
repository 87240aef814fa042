#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace dalvero::testing {

// What a child process is not allowed, so that a platform step really fails.
// Only Linux can make these cheaply: Windows has no fork, and another user or
// a full disk there needs an administrator's set-up. Rows that need them are
// Linux's.
enum class Restriction {
    None,
    Unprivileged, // uid and gid 65534: file permissions apply, also for the CI's root
    SmallDisk,    // no file may grow past a given size, as on a full disk
};

// Puts the calling process under `restriction` (SmallDisk: no file past
// `diskBytes`, writes beyond fail with EFBIG as SIGXFSZ is ignored). False
// when it did not take hold, or when this platform cannot make it.
bool restrictThisProcess(Restriction restriction, qint64 diskBytes);

// Standard input and output carry bytes as they are: Windows would turn LF
// into CR LF and stop reading at a ^Z.
void useBinaryStandardStreams();

// How a forked child ended and what its body handed back.
struct ChildOutcome {
    bool setUp = false;    // the child got the restriction it was asked for
    bool returned = false; // the body ran to its end (no crash, no signal)
    int signal = 0;
    QByteArray report; // the body's result, e.g. a failure message
};

// Runs `body` in a forked child of this process under `restriction`. Where
// there is no fork (Windows) nothing runs and `setUp` is false.
ChildOutcome runRestricted(Restriction restriction, qint64 diskBytes,
                           const std::function<QByteArray()>& body);
inline ChildOutcome runAsUnprivileged(const std::function<QByteArray()>& body) {
    return runRestricted(Restriction::Unprivileged, 0, body);
}
inline ChildOutcome runWithFileSizeLimit(qint64 bytes, const std::function<QByteArray()>& body) {
    return runRestricted(Restriction::SmallDisk, bytes, body);
}

// Runs the test `test` ("Suite.Name") once more, alone, in a new process of
// this program with `variables` ("NAME=value") added to its environment,
// and waits for it: its exit code, or -1 when it could not be started.
// Works where there is no fork, and a process ended there is ended for real.
int rerunTest(const QString& test, const QStringList& variables);

// Holds `path` open the way another program may on Windows, until the object
// goes: sharing it with nobody (nothing else may even read it), letting
// others read it but not write, rename or delete it, or, as a plain "open"
// of most programs does, read and write it but not delete it. Linux has no such lock
// that a program must respect, so `isHeld()` stays false there.
class HeldFile {
public:
    enum class Sharing { Nothing, Reading, ReadingAndWriting };
    HeldFile(const QString& path, Sharing sharing);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool isHeld() const;
    void release();

private:
    void* m_handle;
};

} // namespace dalvero::testing
