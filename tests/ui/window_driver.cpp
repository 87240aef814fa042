#include "window_driver.h"

#include "file_list.h"
#include "folder_list.h"
#include "line_list.h"
#include "pigeon_list.h"
#include "year_combo.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <stdexcept>

namespace dalvero::testing {

namespace {

QModelIndex findEntry(QAbstractItemView* view, const QString& text) {
    const QModelIndexList found =
        view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, text, 1,
                             Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive);
    return found.value(0);
}

QPoint centreOf(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    return view->visualRect(index).center();
}

} // namespace

WindowDriver::WindowDriver(const QString& baseFolder)
    : m_window(std::make_unique<Form1>(baseFolder, seam)) {
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the window was not shown");
}

WindowDriver::~WindowDriver() = default;

QString WindowDriver::caption(const QString& labelName) const {
    const QLabel* label = find<QLabel>(labelName);
    return label ? label->text() : QStringLiteral("<no %1>").arg(labelName);
}

bool WindowDriver::ownEnabled(const QString& name) const {
    const QWidget* widget = control(name);
    return widget && !widget->testAttribute(Qt::WA_ForceDisabled);
}

bool WindowDriver::usable(const QString& name) const {
    const QWidget* widget = control(name);
    return widget && widget->isEnabled();
}

FolderList* WindowDriver::dir(const QString& name) const {
    return find<FolderList>(name);
}
FileList* WindowDriver::files(const QString& name) const {
    return find<FileList>(name);
}
PigeonList* WindowDriver::list1() const {
    return find<PigeonList>(QStringLiteral("List1"));
}
LineList* WindowDriver::lineList(const QString& name) const {
    return find<LineList>(name);
}
YearCombo* WindowDriver::combo2() const {
    return find<YearCombo>(QStringLiteral("Combo2"));
}
QCheckBox* WindowDriver::check1() const {
    return find<QCheckBox>(QStringLiteral("Check1"));
}
QPushButton* WindowDriver::command1() const {
    return find<QPushButton>(QStringLiteral("Command1"));
}

void WindowDriver::click(QAbstractItemView* view, const QString& entryText) {
    const QModelIndex index = findEntry(view, entryText);
    if (!index.isValid())
        throw std::runtime_error("no entry " + entryText.toStdString());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(view, index));
}

void WindowDriver::doubleClick(QAbstractItemView* view, const QString& entryText) {
    const QModelIndex index = findEntry(view, entryText);
    if (!index.isValid())
        throw std::runtime_error("no entry " + entryText.toStdString());
    // A real double-click starts with a click on the same entry.
    const QPoint at = centreOf(view, index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

void WindowDriver::clickRow(QAbstractItemView* view, int row) {
    const QModelIndex index = view->model()->index(row, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(view, index));
}

void WindowDriver::openFolder(const QString& dirName, const QString& folder) {
    // The folder list offers the folders on the way down and those inside the
    // one shown; go up to the root first, then down step by step.
    FolderList* folders = dir(dirName);
    const QString target = QDir(folder).absolutePath();
    QStringList steps;
    for (QDir walk(target);;) {
        steps.prepend(QDir::toNativeSeparators(walk.absolutePath()));
        if (!walk.cdUp())
            break;
    }
    for (const QString& step : steps) {
        if (folders->path() == step)
            continue;
        QTreeWidgetItem* found = nullptr;
        for (QTreeWidgetItemIterator it(folders); *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString() == step)
                found = *it;
        }
        if (!found)
            throw std::runtime_error("folder not offered: " + step.toStdString());
        const QModelIndex index = folders->indexFromItem(found);
        const QPoint at = centreOf(folders, index);
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, at);
        if (folders->path() != step)
            throw std::runtime_error("folder did not open: " + step.toStdString());
    }
}

void WindowDriver::loadExport(const QString& folder, const QString& fileName) {
    openFolder(QStringLiteral("Dir3"), folder);
    click(files(QStringLiteral("File2")), fileName);
}

void WindowDriver::merge(const QString& folder, const QString& fileName) {
    openFolder(QStringLiteral("Dir1"), folder);
    doubleClick(files(QStringLiteral("File1")), fileName);
}

void WindowDriver::pickYear(const QString& code) {
    YearCombo* combo = combo2();
    const int index = combo->findText(code, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        throw std::runtime_error("no year code " + code.toStdString());
    // The user's pick from the drop-down, chosen there with Enter (a mouse
    // release right after the drop-down opens is ignored by the combo box).
    combo->showPopup();
    QAbstractItemView* popup = combo->view();
    popup->setCurrentIndex(popup->model()->index(index, 0));
    QTest::keyClick(popup, Qt::Key_Return);
}

void WindowDriver::clickDanFil() {
    QTest::mouseClick(command1(), Qt::LeftButton);
}

void WindowDriver::toggleCheck1() {
    QTest::mouseClick(check1(), Qt::LeftButton);
}

QStringList WindowDriver::entries(const QString& listName) const {
    QStringList result;
    const QAbstractItemView* view = find<QAbstractItemView>(listName);
    if (!view)
        return {QStringLiteral("<no %1>").arg(listName)};
    for (int row = 0; row < view->model()->rowCount(); ++row)
        result << view->model()->index(row, 0).data().toString();
    return result;
}

} // namespace dalvero::testing
