#include "application_setup.h"

#include "program.h"
#include "qt_translation.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLocale>

namespace startup {

void setUpApplication(const QString& desktopFileName, const QString& applicationName) {
    installQtTranslation(QLocale::system());
    QGuiApplication::setDesktopFileName(desktopFileName);
    // The installed theme icon where there is one; run from the build tree,
    // the copy built into the program.
    QGuiApplication::setWindowIcon(QIcon::fromTheme(
        dalvero::kAppId, QIcon(QStringLiteral(":/icons/%1.png").arg(dalvero::kAppId))));
    QGuiApplication::setApplicationName(applicationName);
}

} // namespace startup
