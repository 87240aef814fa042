#include "module1.h"

#include "backup.h"
#include "platform_files.h"
#include "text_rules.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace Module1 {

QString argumentText(int argc, const char* const* argv) {
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(QLatin1Char(' '));
}

QString chooseBaseFolder(const QString& argumentText, const QString& currentFolder) {
    return argumentText.length() > 0 ? kDevelopmentFolder : currentFolder;
}

dalvero::Status ensureBackupFolder(const QString& baseFolder) {
    const QString backupFolder = dalvero::backupFolder(baseFolder);
    // A broken symbolic link of that name is something too: leave it be.
    if (QFileInfo(backupFolder).exists() || QFileInfo(backupFolder).isSymLink())
        return std::nullopt;
    return dalvero::platform::makeFolder(
        backupFolder, QStringLiteral("Kunne ikke oprette sikkerhedskopi-mappen"));
}

} // namespace Module1
