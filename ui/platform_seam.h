#pragma once

#include "failure.h"

#include <QString>

class QUrl;
class QWidget;

namespace dalvero {

// Everything the window needs from outside itself: message boxes, the error
// report and the end of the program. Tests replace it so that they can drive
// the real window without a person to press OK and without ending the test.
class PlatformSeam {
public:
    virtual ~PlatformSeam() = default;

    // A box with the text and an OK button only, no icon, titled "dalvero";
    // returns when the user has pressed OK.
    virtual void showMessage(QWidget* parent, const QString& text);

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
