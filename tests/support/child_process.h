#pragma once

#include <QByteArray>

#include <functional>
#include <sys/resource.h>

namespace dalvero::testing {

// How a child process ended and what its body handed back.
struct ChildOutcome {
    bool setUp = false;    // the child got the restriction it was asked for
    bool returned = false; // the body ran to its end (no crash, no signal)
    int signal = 0;
    QByteArray report; // the body's result, e.g. a failure message
};

// The restrictions themselves, for a child made elsewhere. Each tells whether
// it took hold.
bool dropToNobody();              // uid and gid 65534, no groups
bool limitFileSize(rlim_t bytes); // RLIMIT_FSIZE, with SIGXFSZ ignored

// Runs `body` in a forked child that has dropped root for uid and gid 65534,
// so that file permissions really apply to it.
ChildOutcome runAsUnprivileged(const std::function<QByteArray()>& body);

// Runs `body` in a forked child that may not make any file larger than
// `bytes`, as on a full disk: writes beyond it fail with EFBIG (SIGXFSZ is
// ignored).
ChildOutcome runWithFileSizeLimit(rlim_t bytes, const std::function<QByteArray()>& body);

} // namespace dalvero::testing
