#pragma once

#include "backup_copies.h"
#include "platform/failure.h"
#include "unikon_merge.h"

#include <QString>

#include <optional>
#include <variant>

namespace dalvero {

// The file a copy is put back over: the one path that is read, backed up and
// rewritten, and the file as it was read there.
struct RestoreTarget {
    QString path;
    // None when no file has the name (a replace that broke off): the copy
    // then becomes the file as it is.
    std::optional<UnikonFile> file;
};

// A file of another name is no fault of the system: the user is only told
// which file the copy belongs to.
struct ChooseAnother {
    QString advice;
};

// The file that may take the copy, or why it may not.
using TargetCheck = std::variant<RestoreTarget, Failure, ChooseAnother>;

// Whether `path` names the file the copy was made of, as the system compares
// names.
bool isFileOf(const BackupCopy& copy, const QString& path);

// Whether the file the user chose may take `copy`. It may not when it is a
// shortcut, has another name, is the copy itself through a link (named as a
// copy in `copiesFolder`) or cannot be read; one that is missing may.
TargetCheck checkRestoreTarget(const BackupCopy& copy, const QString& chosenPath,
                               const QString& copiesFolder);
// The same for a file shown before, as it is now, at the path resolved when
// it was chosen.
TargetCheck checkRestoreTarget(const BackupCopy& copy, const RestoreTarget& shown,
                               const QString& copiesFolder);

} // namespace dalvero
