#include "application_setup.h"
#include "platform/process.h"
#include "program.h"
#include "startup.h"
#include "ui/display_scale.h"
#include "ui/main_window.h"
#include "ui/window_services.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char** argv) {
    dalvero::platform::markRunning();
    dalvero::platform::quietSystemErrorBoxes();
    // The argument text decides the base folder, so read it before Qt takes
    // its own options out of argv.
    const QString baseFolder = startup::chooseBaseFolder(
        startup::argumentText(argc, argv), QDir::toNativeSeparators(QDir::currentPath()));

    dalvero::followDisplayScale();
    QApplication app(argc, argv);
    // Before anything is shown, the start-up's own error message included.
    startup::setUpApplication(dalvero::kAppId, dalvero::kProgramName);

    if (const dalvero::Status failed = startup::ensureBackupFolder(
            baseFolder, QDir::toNativeSeparators(QCoreApplication::applicationDirPath()))) {
        QMessageBox::critical(nullptr, dalvero::kProgramName, failed->message());
        return 1;
    }

    dalvero::WindowServices seam;
    dalvero::MainWindow window(baseFolder, seam);
    window.show();
    return app.exec();
}
