#pragma once

#include "platform/failure.h"

#include <QString>

// The start-up procedure and the one value it leaves for the rest of the
// program: the base folder under which the backup folder lies.
namespace startup {

// The development folder that any command-line argument selects.
inline const QString kDevelopmentFolder = QStringLiteral("C:\\data\\Data\\pri_udv\\dalvero");

// The argument text as the user typed it after the program's name: the
// arguments joined by blanks, read before Qt takes any of them.
QString argumentText(int argc, const char* const* argv);

// Any argument text at all selects the development folder, otherwise the
// current folder is the base folder.
QString chooseBaseFolder(const QString& argumentText, const QString& currentFolder);

// Whether `programFolder` is the portable copy the user unpacked from the
// zip, rather than an installation.
bool isPortable(const QString& programFolder);

// Makes base folder & "/UNI_KOP" when nothing of that name exists (a plain
// file of that name counts as present). Only that one level is made. When it
// cannot be made in `programFolder`, the report says how to start the
// program in a folder of the user's own: from the Start menu for an
// installation, unpacked elsewhere for the portable copy.
dalvero::Status ensureBackupFolder(const QString& baseFolder, const QString& programFolder = {});

} // namespace startup
