#include "form1.h"
#include "module1.h"
#include "platform_seam.h"
#include "process.h"
#include "program.h"
#include "qt_translation.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>

namespace {
// The name of the desktop entry and of the icon.
const QString kAppId = QStringLiteral("dk.dalvero.Dalvero");
} // namespace

int main(int argc, char** argv) {
    dalvero::platform::markRunning();
    dalvero::platform::quietSystemErrorBoxes();
    // The argument text decides the base folder, so read it before Qt takes
    // its own options out of argv.
    const QString baseFolder = Module1::chooseBaseFolder(
        Module1::argumentText(argc, argv), QDir::toNativeSeparators(QDir::currentPath()));

    QApplication app(argc, argv);
    // Before anything is shown, the start-up's own error message included.
    Module1::installQtTranslation(QLocale::system());
    QGuiApplication::setDesktopFileName(kAppId);
    // The installed theme icon where there is one; run from the build tree,
    // the copy built into the program.
    QApplication::setWindowIcon(
        QIcon::fromTheme(kAppId, QIcon(QStringLiteral(":/icons/dk.dalvero.Dalvero.png"))));
    QApplication::setApplicationName(dalvero::kProgramName);

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
