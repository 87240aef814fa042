#include "qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace startup {

QTranslator* installQtTranslation(const QLocale& locale) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    const QString folders[] = {QCoreApplication::applicationDirPath(),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    auto* translator = new QTranslator(app);
    for (const QString& folder : folders) {
        // Tries the user's languages in order, e.g. "da-DK" and then "da".
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return translator;
        }
    }
    delete translator;
    return nullptr;
}

} // namespace startup
