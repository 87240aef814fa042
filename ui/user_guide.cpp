#include "user_guide.h"

#include "program.h"
#include "window_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace dalvero {

namespace {

QString besideProgram(const QString& programFolder) {
    return QDir(programFolder).filePath(kUserGuideFile);
}

QString underPrefix(const QDir& folder) {
    return folder.filePath(kUserGuideFolder + QLatin1Char('/') + kUserGuideFile);
}

} // namespace

QString findUserGuide(const QString& programFolder) {
    if (QFileInfo(besideProgram(programFolder)).isFile())
        return besideProgram(programFolder);
    for (QDir above(programFolder); above.cdUp();) {
        if (QFileInfo(underPrefix(above)).isFile())
            return QDir::cleanPath(underPrefix(above));
    }
    return {};
}

void showUserGuide(QWidget* parent, WindowServices& seam) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString page = findUserGuide(programFolder);
    if (page.isEmpty()) {
        QDir prefix(programFolder);
        prefix.cdUp();
        seam.showMessage(parent, QStringLiteral("Brugervejledningen findes ikke.\n\n"
                                                "Den er søgt i %1 og %2.")
                                     .arg(QDir::toNativeSeparators(besideProgram(programFolder)),
                                          QDir::toNativeSeparators(underPrefix(prefix))));
        return;
    }
    if (!seam.openInBrowser(QUrl::fromLocalFile(page)))
        seam.showMessage(parent, QStringLiteral("Brugervejledningen kunne ikke åbnes i "
                                                "browseren.\n\nDen ligger i %1.")
                                     .arg(QDir::toNativeSeparators(page)));
}

} // namespace dalvero
