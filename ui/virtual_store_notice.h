#pragma once

#include "platform/failure.h"

#include <QString>

#include <optional>

class QWidget;

namespace dalvero {

class FileList;
class FolderList;
class WindowServices;

// Before a chosen UNIKON file is read: when Windows keeps another copy of it
// for old programs, the user is told of both and picks the one to work on.
// The path of the file picked (`path` itself when there is no copy); none
// when the user picked neither, or `path` is empty (nothing chosen).
std::optional<QString> fileToWorkOn(QWidget* parent, WindowServices& seam, const QString& path);

// Opens the folder of `file` in `folders` (a hidden AppData on the way is
// shown like any folder) and makes `file` the current entry of `files`, so
// that everything after names it as it names a file the user clicked.
Status showInLists(FolderList& folders, FileList& files, const QString& file);

} // namespace dalvero
