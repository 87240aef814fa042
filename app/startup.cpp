#include "startup.h"

#include "conversion/backup.h"
#include "platform/platform_files.h"
#include "program.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace startup {

QString argumentText(int argc, const char* const* argv) {
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(QLatin1Char(' '));
}

QString chooseBaseFolder(const QString& argumentText, const QString& currentFolder) {
    return argumentText.length() > 0 ? kDevelopmentFolder : currentFolder;
}

bool isPortable(const QString& programFolder) {
    return QFileInfo::exists(programFolder + QStringLiteral("/" DALVERO_PORTABLE_MARKER));
}

dalvero::Status ensureBackupFolder(const QString& baseFolder, const QString& programFolder) {
    const QString backupFolder = dalvero::backupFolder(baseFolder);
    // A broken symbolic link of that name is something too: leave it be.
    if (QFileInfo(backupFolder).exists() || QFileInfo(backupFolder).isSymLink())
        return std::nullopt;
    dalvero::Status failed = dalvero::platform::makeFolder(
        backupFolder, QStringLiteral("Kunne ikke oprette sikkerhedskopi-mappen"));
    // Started from its own folder (the program double-clicked there, or a
    // pinned copy of it), where a user may not write. The portable copy
    // keeps UNI_KOP there by design; it was unpacked where the user may not
    // write, and has no Start menu entry to point to.
    if (failed && QFileInfo(baseFolder) == QFileInfo(programFolder)) {
        failed->reason +=
            isPortable(programFolder)
                ? QStringLiteral(
                      "\n\nDalvero er startet fra den mappe, det er pakket ud i, og dér kan "
                      "sikkerhedskopierne ikke laves. Pak zip-filen ud i en mappe, du selv må "
                      "skrive i (fx under Dokumenter eller på et USB-drev), og start Dalvero dér.")
                : QStringLiteral(
                      "\n\nDalvero er startet fra den mappe, programmet er installeret i, og dér "
                      "må sikkerhedskopierne ikke ligge. Start Dalvero fra menuen Start eller fra "
                      "genvejen på skrivebordet: så starter det i din egen mappe.");
    }
    return failed;
}

} // namespace startup
