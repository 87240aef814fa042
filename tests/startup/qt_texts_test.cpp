#include "app/qt_translation.h"
#include "platform/failure.h"
#include "support/named_row.h"
#include "support/window_test.h"

#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace dalvero::testing {
namespace {

struct QtTextsCase {
    const char* name;
    QLocale locale;
    // The year field's context menu, shortcuts left out.
    QStringList menu;
    // The reason Qt words itself in English for a file that may not be read.
    QString permissionDenied;
};

class QtTexts : public WindowTest, public ::testing::WithParamInterface<QtTextsCase> {};

TEST_P(QtTexts, FollowTheUsersLanguage) {
    const QtTextsCase& c = GetParam();
    // Removed from the application again when the row ends.
    const std::unique_ptr<QTranslator> translator(startup::installQtTranslation(c.locale));
    WindowDriver& w = start();
    const std::unique_ptr<QMenu> menu(w.yearCodes()->lineEdit()->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);
    }
    EXPECT_EQ(texts, c.menu);

    const dalvero::Failure failure{QStringLiteral("Kunne ikke læse eksportfilen"),
                                   QStringLiteral("/x"), QStringLiteral("Permission denied")};
    EXPECT_TRUE(failure.message().endsWith(QStringLiteral("\nÅrsag: ") + c.permissionDenied))
        << failure.message();
}

INSTANTIATE_TEST_SUITE_P(
    Locale, QtTexts,
    ::testing::Values(
        QtTextsCase{"Danish",
                    QLocale(QLocale::Danish, QLocale::Denmark),
                    {"&Fortryd", "&Omgør", "K&lip", "&Kopiér", "&Sæt ind", "Slet", "Markér alt"},
                    QStringLiteral("Tilladelse nægtet")},
        QtTextsCase{"English",
                    QLocale(QLocale::English, QLocale::UnitedStates),
                    {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"},
                    QStringLiteral("Permission denied")},
        QtTextsCase{"C",
                    QLocale::c(),
                    {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"},
                    QStringLiteral("Permission denied")}),
    rowName);

} // namespace
} // namespace dalvero::testing
