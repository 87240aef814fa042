#include "window_services.h"

#include "conversion/backup.h"
#include "program.h"

#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <cstdlib>

namespace dalvero {

void WindowServices::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kProgramName, text, QMessageBox::Ok, parent);
    box.exec();
}

int WindowServices::askChoice(QWidget* parent, const QString& text, const QStringList& choices) {
    QMessageBox box(QMessageBox::NoIcon, kProgramName, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> buttons;
    for (const QString& choice : choices)
        buttons << box.addButton(choice, QMessageBox::AcceptRole);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
        box.setEscapeButton(buttons.last());
    }
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

void WindowServices::showFailure(QWidget* parent, const Failure& failure) {
    QMessageBox::critical(parent, kProgramName, failure.message());
}

void WindowServices::endProgram(int status) {
    // Inside the event loop, leaving it lets main() return and tear the window
    // down in order; before the loop runs there is nothing to leave.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(status);
    else
        std::exit(status);
}

QString WindowServices::todayText() {
    return shortDateText(QDate::currentDate());
}

bool WindowServices::openInBrowser(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace dalvero
