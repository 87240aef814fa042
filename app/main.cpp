#include "application_setup.h"
#include "display_scale.h"
#include "form1.h"
#include "module1.h"
#include "platform_seam.h"
#include "process.h"
#include "program.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char** argv) {
    dalvero::platform::markRunning();
    dalvero::platform::quietSystemErrorBoxes();
    // The argument text decides the base folder, so read it before Qt takes
    // its own options out of argv.
    const QString baseFolder = Module1::chooseBaseFolder(
        Module1::argumentText(argc, argv), QDir::toNativeSeparators(QDir::currentPath()));

    dalvero::followDisplayScale();
    QApplication app(argc, argv);
    // Before anything is shown, the start-up's own error message included.
    Module1::setUpApplication(dalvero::kAppId, dalvero::kProgramName);

    if (const dalvero::Status failed = Module1::ensureBackupFolder(
            baseFolder, QDir::toNativeSeparators(QCoreApplication::applicationDirPath()))) {
        QMessageBox::critical(nullptr, dalvero::kProgramName, failed->message());
        return 1;
    }

    dalvero::PlatformSeam seam;
    dalvero::Form1 window(baseFolder, seam);
    window.show();
    return app.exec();
}
