#pragma once

#include <QString>

#include <optional>

namespace dalvero {

// A file the user chose, and the copy of it that Windows keeps for old
// programs (see platform/virtual_store.h): two files under one name, of
// which old programs see only the copy.
struct VirtualStoreCopy {
    QString chosen;
    QString copy;
};

// The copy, when `path` lies where Windows redirects old programs and the
// user's VirtualStore holds a file of that path.
std::optional<VirtualStoreCopy> virtualStoreCopy(const QString& path);

// What the user is told before anything is read or written: both files,
// each with its time of change, and which one old programs see.
QString virtualStoreNotice(const VirtualStoreCopy& found);

// Added to "access denied" for a file where Windows redirects old programs
// but holds no copy of it: where their files go instead. Empty elsewhere.
QString virtualStoreAdvice(const QString& path);

} // namespace dalvero
