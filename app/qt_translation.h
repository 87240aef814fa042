#pragma once

class QLocale;
class QTranslator;

namespace startup {

// Gives Qt's own texts in the language of `locale`: the edit fields' context
// menus, the standard buttons, Qt's dialogs and the system's reasons that Qt
// words itself. Loads qtbase_<language>.qm from the program's own folder
// (where the Windows installation ships it, as Qt for Windows has none) or
// else from Qt's translations folder, and installs it in the application,
// which owns it. Returns it, or null when there is none for that language or
// no application yet: Qt's texts then stay English.
QTranslator* installQtTranslation(const QLocale& locale);

} // namespace startup
