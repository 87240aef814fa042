#pragma once

#include "qt_printers.h"
#include "scratch_fixture.h"
#include "ui/file_chooser.h"
#include "ui/restore_window.h"
#include "window_driver.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace dalvero::testing {

// The file dialog's answers, given in advance.
class ScriptedChooser : public FileChooser {
public:
    QString chooseFile(QWidget*, const QString&, const QString&, const QString&) override {
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
};

// The restore window over the scratch fixture's folders.
class RestoreTest : public ScratchFixture {
public:
    RestoreWindow& start() {
        window = std::make_unique<RestoreWindow>(scratch.path(), seam, chooser);
        checkListModels(*window);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    template <typename Widget = QWidget> Widget* find(const char* name) const {
        return window->findChild<Widget*>(QString::fromLatin1(name));
    }
    QStringList copiesShown() const {
        QStringList names;
        for (int row = 0; row < find<QTreeWidget>("Copies")->topLevelItemCount(); ++row)
            names << find<QTreeWidget>("Copies")->topLevelItem(row)->text(0);
        return names;
    }
    bool pickCopy(const QString& name) {
        auto* copies = find<QTreeWidget>("Copies");
        const QList<QTreeWidgetItem*> found = copies->findItems(name, Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        copies->scrollToItem(found[0]);
        QTest::mouseClick(copies->viewport(), Qt::LeftButton, {},
                          copies->visualItemRect(found[0]).center());
        return copies->currentItem() == found[0];
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void chooseFile(const QString& path) {
        chooser.answers << path;
        click("ChooseFile");
    }

    RecordingSeam seam;
    ScriptedChooser chooser;
    std::unique_ptr<RestoreWindow> window;
};

} // namespace dalvero::testing
