#include "file_replace.h"

#include "scripted_answers.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dalvero::platform {

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Runs one call to the system unless the step is scripted to fail; errno
// holds the reason when it returns false.
template <typename Call> bool step(const char* name, const QString& path, Call call) {
    if (const unsigned long error = scriptedFailure(name, path)) {
        errno = static_cast<int>(error);
        return false;
    }
    return call();
}

Failure failure(const QString& what, const QString& shown) {
    return Failure{what, shown, replacing::systemReason(static_cast<unsigned long>(errno))};
}

// No hard links (a FAT stick) or no link at all: a rename that refuses to
// replace, where the system has one, else one made only after a look.
bool renameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat entry {};
    if (::lstat(to.constData(), &entry) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}

// A file system that keeps no Unix owner or mode (FAT through FUSE, some
// network mounts) says so in one of these words; its own mode then stands.
bool keepsNoMode(int error) {
    return error == ENOSYS || error == EPERM || error == EOPNOTSUPP || error == ENOTSUP;
}

} // namespace

namespace replacing {
QString systemReason(unsigned long error) {
    return QString::fromLocal8Bit(std::strerror(static_cast<int>(error)));
}

unsigned long openInPlace(const QString& target, QFile& file) {
    const int fd = ::open(encoded(target).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return static_cast<unsigned long>(errno);
    file.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle);
    return 0;
}

// Linux locks only bind programs that ask for them.
unsigned long lockInPlace(QFile&) {
    return 0;
}
void unlockInPlace(QFile&) {}

unsigned long truncateInPlace(QFile& file, qint64 size) {
    return ::ftruncate(file.handle(), size) == 0 ? 0 : static_cast<unsigned long>(errno);
}

bool isHeld(unsigned long) {
    return false;
}
} // namespace replacing

QString shownPath(const QString& path) {
    return path;
}

Status writeNewFile(const QString& path, const QByteArray& contents, const QString& like, bool,
                    const QString& what, const QString& shown, bool* refused) {
    const QByteArray name = encoded(path);
    int fd = -1;
    if (!step("new file: create", path, [&] {
            fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            return fd >= 0;
        })) {
        if (refused)
            *refused = errno == EACCES || errno == EPERM;
        return failure(what, shown);
    }
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    struct stat old {};
    const bool hasOld = ::stat(encoded(like).constData(), &old) == 0;
    // The owner first: a change of owner clears the set-id bits. Kept where
    // the file system keeps them at all.
    const auto keep = [&](const char* name, auto call) {
        return !hasOld || step(name, path, call) || keepsNoMode(errno);
    };
    Status failed = scriptedStep("new file: write", path, what, shown);
    if (!failed && !(writeAll(file, contents) && file.flush()))
        failed = Failure{what, shown, file.errorString()};
    if (!failed &&
        !keep("new file: owner", [&] { return ::fchown(fd, old.st_uid, old.st_gid) == 0; }))
        failed = failure(what, shown);
    if (!failed && !keep("new file: mode", [&] { return ::fchmod(fd, old.st_mode & 07777) == 0; }))
        failed = failure(what, shown);
    if (!failed && !step("new file: sync", path, [&] { return ::fsync(fd) == 0; }))
        failed = failure(what, shown);
    file.close();
    if (failed)
        ::unlink(name.constData());
    return failed;
}

MoveOutcome moveToFreeName(const QString& from, const QString& to, const QString& what) {
    const QByteArray source = encoded(from);
    const QByteArray name = encoded(to);
    // A second name for the whole file, then the first one dropped: no
    // entry of that name is ever replaced.
    const bool moved = step("copy: name", to, [&] {
        if (::link(source.constData(), name.constData()) == 0) {
            ::unlink(source.constData());
            return true;
        }
        return errno != EEXIST && renameWithoutReplacing(source, name);
    });
    if (moved)
        return {};
    return {failure(what, to), errno == EEXIST};
}

void syncFolder(const QString& folder) {
    step("folder: sync", folder, [&] {
        const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool synced = ::fsync(fd) == 0;
        ::close(fd);
        return synced;
    });
}

bool removeFile(const QString& path) {
    return step("remove", path, [&] { return ::unlink(encoded(path).constData()) == 0; });
}

Status moveIntoPlace(const QString& stranded, const QString& path, const QString& what) {
    if (step("replace: rename", path, [&] {
            return ::rename(encoded(stranded).constData(), encoded(path).constData()) == 0;
        }))
        return std::nullopt;
    return failure(what, path);
}

ReplaceOutcome replacing::takeName(const QString& temporary, const QString& target,
                                   const QString& what, const QString& path) {
    // The rename replaces in one step: the file has its old bytes or its
    // new ones, never none.
    if (Status failed = moveIntoPlace(temporary, target, what)) {
        ::unlink(encoded(temporary).constData());
        failed->path = path;
        return {failed};
    }
    syncFolder(QFileInfo(target).absolutePath());
    return {};
}

} // namespace dalvero::platform
