#pragma once

#include <QString>

namespace startup {

// What both programs set up once their application exists, before anything
// is shown: Qt's own texts in the user's language, the desktop entry they
// belong to, Dalvero's icon (kAppId) and the program's name.
void setUpApplication(const QString& desktopFileName, const QString& applicationName);

} // namespace startup
