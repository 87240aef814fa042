// "Dalvero – læg kopi tilbage": puts a backup from UNI_KOP back over its
// UNIKON file. A program of its own, as Dalvero reads any argument as its
// development folder; this one reads no arguments and looks for UNI_KOP in
// the folder it is started in, where Dalvero's launchers start too.
#include "application_setup.h"
#include "platform/process.h"
#include "program.h"
#include "ui/display_scale.h"
#include "ui/file_chooser.h"
#include "ui/restore_window.h"
#include "ui/window_services.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    // It rewrites the UNIKON file too: the installer waits for it as for Dalvero.
    dalvero::platform::markRunning();
    dalvero::platform::quietSystemErrorBoxes();
    dalvero::followDisplayScale();
    QApplication app(argc, argv);
    // Dalvero's own icon: the two programs are one installation.
    startup::setUpApplication(dalvero::kRestoreAppId, dalvero::kRestoreProgramName);

    dalvero::WindowServices seam;
    dalvero::FileChooser chooser;
    dalvero::RestoreWindow window(QDir::toNativeSeparators(QDir::currentPath()), seam, chooser);
    window.show();
    return app.exec();
}
