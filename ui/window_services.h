#pragma once

#include "platform/failure.h"

#include <QString>
#include <QStringList>

class QUrl;
class QWidget;

namespace dalvero {

// What both windows need from outside themselves that a test must stand in
// for: message boxes, the error report, the end of the program, today's date
// and the browser for the guide. Tests replace it so that they can drive the
// real window without a person to press OK, without ending the test, on a
// date of their own and without opening a browser. (The file dialog has a
// seam of its own, FileChooser.)
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // A box with the text and an OK button only, no icon, titled "dalvero";
    // returns when the user has pressed OK.
    virtual void showMessage(QWidget* parent, const QString& text);

    // A box with the text and a button for each choice, the last one taken
    // by Esc; returns the index of the button pressed, -1 when the box was
    // closed otherwise.
    virtual int askChoice(QWidget* parent, const QString& text, const QStringList& choices);

    // The error report of a step that failed.
    virtual void showFailure(QWidget* parent, const Failure& failure);

    // Ends the program with `status`. The caller returns at once afterwards.
    virtual void endProgram(int status);

    // Today's date as short date text in the user's settings.
    virtual QString todayText();

    // Opens `url` in the system's browser; false when there is none to open it.
    virtual bool openInBrowser(const QUrl& url);
};

} // namespace dalvero
