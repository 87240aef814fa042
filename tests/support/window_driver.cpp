#include "window_driver.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

namespace dalvero::testing {

namespace {

QModelIndex findEntry(QAbstractItemView* view, const QString& text) {
    const QModelIndexList found =
        view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, text, 1,
                             Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive);
    if (found.isEmpty())
        throw std::runtime_error("no entry " + text.toStdString());
    return found[0];
}

QPoint centreOf(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    return view->visualRect(index).center();
}

// Qt's own helper widgets (viewports, edit fields, drop-downs) carry no name,
// or one that starts with "qt_"; the window's controls carry theirs.
bool isNamedControl(const QWidget* widget) {
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

QAbstractItemView* focusedView() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (auto* view = qobject_cast<QAbstractItemView*>(widget))
            return view;
    }
    return nullptr;
}

QString currentText(const QAbstractItemView* view) {
    return view->currentIndex().data(Qt::DisplayRole).toString();
}

} // namespace

void checkListModels(QWidget& window) {
    for (LineList* list : window.findChildren<LineList*>())
        new QAbstractItemModelTester(&list->entries(),
                                     QAbstractItemModelTester::FailureReportingMode::Fatal, list);
}

void RecordingSeam::showMessage(QWidget*, const QString& text) {
    messages << text;
    if (whileMessageShown)
        whileMessageShown(text);
}

void RecordingSeam::endProgram(int status) {
    if (!endStatus)
        endStatus = status;
}

WindowDriver::WindowDriver(const QString& baseFolder)
    : m_window(std::make_unique<MainWindow>(baseFolder, seam)) {
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

QStringList WindowDriver::entries(const QString& listName) const {
    QStringList result;
    const QAbstractItemView* view = find<QAbstractItemView>(listName);
    if (!view)
        return {QStringLiteral("<no %1>").arg(listName)};
    for (int row = 0; row < view->model()->rowCount(); ++row)
        result << view->model()->index(row, 0).data().toString();
    return result;
}

WindowReport WindowDriver::report() const {
    WindowReport report;
    report.failures = seam.failures;
    report.messages = seam.messages;
    report.endStatus = seam.endStatus.value_or(-1);
    report.exportHeader =
        fromDisplay(caption(QStringLiteral("Label4"))).value_or(QByteArray("<not 8-bit>"));
    report.prompt = caption(QStringLiteral("Label5"));
    report.oldCount = caption(QStringLiteral("Label1(5)"));
    report.newCount = caption(QStringLiteral("Label1(1)"));
    report.danFilEnabled = ownEnabled(QStringLiteral("Command1"));
    report.pigeonList = pigeonList()->lines();
    report.oldList = lineList(QStringLiteral("List2"))->lines();
    report.newList = lineList(QStringLiteral("List3"))->lines();
    report.atRefusal = m_atRefusal;
    return report;
}

void WindowDriver::click(QAbstractItemView* view, const QString& entryText) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      centreOf(view, findEntry(view, entryText)));
}

void WindowDriver::doubleClick(QAbstractItemView* view, const QString& entryText) {
    // A real double-click starts with a click on the same entry.
    const QPoint at = centreOf(view, findEntry(view, entryText));
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
    QStringList steps;
    for (QDir walk(QDir(folder).absolutePath());;) {
        steps.prepend(QDir::toNativeSeparators(walk.absolutePath()));
        if (!walk.cdUp())
            break;
    }
    for (const QString& step : steps) {
        if (folders->path() == step)
            continue;
        const QModelIndexList found = folders->model()->match(
            folders->model()->index(0, 0), Qt::UserRole, step, 1, Qt::MatchExactly);
        if (found.isEmpty())
            throw std::runtime_error("folder not offered: " + step.toStdString());
        const QPoint at = centreOf(folders, found.first());
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
    YearCombo* combo = yearCodes();
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
    QTest::mouseClick(danFil(), Qt::LeftButton);
}

void WindowDriver::toggleYearBox() {
    QTest::mouseClick(yearBox(), Qt::LeftButton);
}

void WindowDriver::take(const UserStep& step) {
    if (step.kind == UserStep::Kind::OpenFolder)
        openFolder(step.control, step.argument);
    else
        click(files(step.control), step.argument);
}

void WindowDriver::run(const Workflow& flow, const std::function<void()>& pause) {
    const auto pauseAt = [&](Stage stage) {
        if (flow.pauseAt == stage)
            pause();
    };
    seam.today = flow.today;
    openFolder(QStringLiteral("Dir3"), flow.exportFolder);
    pauseAt(Stage::Listed);
    // The user stops at the first report, with the window as it left it.
    const auto stopped = [&] { return seam.endStatus || !seam.failures.isEmpty(); };
    for (const QString& name : flow.exportNames) {
        click(files(QStringLiteral("File2")), name);
        if (stopped())
            return;
    }
    openFolder(QStringLiteral("Dir1"), flow.unikonFolder);
    pauseAt(Stage::Loaded);
    doubleClick(files(QStringLiteral("File1")), flow.unikonName);
    if (stopped())
        return;
    for (const UserStep& step : flow.afterMerge)
        take(step);
    pauseAt(Stage::Merged);
    clickDanFil();
    if (flow.clickAgain && !seam.endStatus && !seam.failures.isEmpty()) {
        m_atRefusal = {report()};
        pause();
        clickDanFil();
    }
}

bool WindowDriver::bringToFront(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QString WindowDriver::focusedControl() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (isNamedControl(widget))
            return widget->objectName();
    }
    return {};
}

bool WindowDriver::press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) {
        ADD_FAILURE() << "no widget has the focus for key " << key;
        return false;
    }
    QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    return true;
}

bool WindowDriver::type(const QString& text) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) {
        ADD_FAILURE() << "no widget has the focus to type " << text.toStdString();
        return false;
    }
    QTest::keyClicks(focused, text);
    return true;
}

bool WindowDriver::moveFocusTo(const QString& control, int key, int limit) {
    for (int presses = 0; presses <= limit; ++presses) {
        if (focusedControl() == control)
            return true;
        if (!press(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier))
            return false;
    }
    return false;
}

QStringList WindowDriver::focusPath(int key, int presses) {
    QStringList path;
    for (int i = 0; i < presses; ++i) {
        if (!press(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier))
            break;
        path << focusedControl();
    }
    return path;
}

bool WindowDriver::arrowTo(const QString& text) {
    QAbstractItemView* view = focusedView();
    if (!view)
        return false;
    for (const int key : {Qt::Key_Down, Qt::Key_Up}) {
        // The far end of the list is reached when a press moves nothing.
        for (QModelIndex before; currentText(view) != text;) {
            before = view->currentIndex();
            if (!press(key))
                return false;
            if (view->currentIndex() == before)
                break;
        }
        if (currentText(view) == text)
            return true;
    }
    return false;
}

bool grab(const QString& file, const QRect& area) {
    QApplication::processEvents();
    QTest::qWait(150);
    // The area is in Qt's pixels, the grab in the screen's.
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0).copy(
        QRect(area.topLeft() * ratio, area.size() * ratio));
    const bool saved = shot.save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

} // namespace dalvero::testing
