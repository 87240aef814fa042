// "Dalvero – læg kopi tilbage": puts a backup from UNI_KOP back over its
// UNIKON file. A program of its own, as Dalvero reads any argument as its
// development folder; this one reads no arguments and looks for UNI_KOP in
// the folder it is started in, where Dalvero's launchers start too.
#include "file_chooser.h"
#include "platform_seam.h"
#include "process.h"
#include "qt_translation.h"
#include "restore_window.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>

int main(int argc, char** argv) {
    // It rewrites the UNIKON file too: the installer waits for it as for Dalvero.
    dalvero::platform::markRunning();
    dalvero::platform::quietSystemErrorBoxes();
    QApplication app(argc, argv);
    Module1::installQtTranslation(QLocale::system());
    QGuiApplication::setDesktopFileName(QStringLiteral("dk.dalvero.Dalvero.Restore"));
    // Dalvero's own icon: the two programs are one installation.
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("dk.dalvero.Dalvero"),
                         QIcon(QStringLiteral(":/icons/dk.dalvero.Dalvero.png"))));
    QApplication::setApplicationName(QStringLiteral("dalvero-restore"));

    dalvero::PlatformSeam seam;
    dalvero::FileChooser chooser;
    dalvero::RestoreWindow window(QDir::toNativeSeparators(QDir::currentPath()), seam, chooser);
    window.show();
    return app.exec();
}
