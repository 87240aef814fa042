#pragma once

#include "conversion/text_rules.h"
#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"
#include "ui/line_list.h"
#include "ui/main_window.h"
#include "ui/pigeon_list.h"
#include "ui/window_services.h"
#include "ui/year_combo.h"

#include <QCheckBox>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace dalvero::testing {

// A seam that records instead of showing boxes or ending the process.
class RecordingSeam : public WindowServices {
public:
    void showMessage(QWidget*, const QString& text) override;
    void showFailure(QWidget*, const Failure& failure) override { failures << failure; }
    int askChoice(QWidget*, const QString& text, const QStringList&) override {
        questions << text;
        return choice;
    }
    void endProgram(int status) override;
    QString todayText() override { return today; }
    bool openInBrowser(const QUrl& url) override {
        browsed << url;
        return true;
    }

    QString today = QStringLiteral("07-12-26");
    QList<QUrl> browsed;
    QStringList messages;
    QList<Failure> failures;
    QStringList questions;
    int choice = -1; // the button pressed in each question
    std::optional<int> endStatus;
    // Runs while a message is "shown", to look at the window at that moment.
    std::function<void(const QString&)> whileMessageShown;
};

// What the user was told and what the window showed, as a window in a child
// process hands it back to the test.
struct WindowReport {
    QList<Failure> failures;
    QStringList messages;
    int endStatus = -1;      // -1: the program did not end
    QByteArray exportHeader; // the export header, as the bytes it was shown from
    QString prompt;
    QString oldCount; // Label1(5)
    QString newCount; // Label1(1)
    bool danFilEnabled = false;
    Lines pigeonList;
    Lines oldList;
    Lines newList;
    QString driverError; // a step the test could not take (an entry not offered)
    // The window as a refused "Dan fil" left it, when the user clicked again.
    std::vector<WindowReport> atRefusal;
};

// The moments between the user's steps where a test may spoil a file.
enum class Stage {
    Listed, // the export folder is open and its files are listed
    Loaded, // the export file is loaded and the UNIKON folder is open
    Merged, // the new list is built (and the user's later clicks are done)
};

// One thing the user does in the window, such as a click between the merge
// and "Dan fil". Plain data, so that a child process can be given it.
struct UserStep {
    enum class Kind { OpenFolder, Click } kind;
    QString control;  // "Dir1", "File1"
    QString argument; // the folder opened, the entry clicked
};

// The whole job: open the export folder, click each export file, open the
// UNIKON folder, double-click the UNIKON file, press "Dan fil". It stops
// where the program ends.
struct Workflow {
    QString baseFolder; // also the current folder at start
    QString exportFolder;
    QStringList exportNames;
    QString unikonFolder;
    QString unikonName;
    QString today = QStringLiteral("07-12-26");
    std::optional<Stage> pauseAt;
    // What the user does after the merge and before "Dan fil".
    QList<UserStep> afterMerge;
    // A refused "Dan fil" is clicked again after a second pause, in which
    // the test mends the cause.
    bool clickAgain = false;
};

// Qt's own checker over the model of every list in `window`, for as long as
// the list lives: a change told out of turn, or an answer a view cannot use,
// ends the test there.
void checkListModels(QWidget& window);

// Drives the real window the way a user does, on the widgets found by their
// objectName: with the mouse, with the keyboard alone (every key goes to the
// widget that has the focus, as the window system delivers it), or a whole
// Workflow, which is how a window in a child process is driven.
class WindowDriver {
public:
    explicit WindowDriver(const QString& baseFolder);
    ~WindowDriver();

    MainWindow& window() { return *m_window; }
    RecordingSeam seam;

    template <typename Widget> Widget* find(const QString& name) const {
        return m_window->findChild<Widget*>(name);
    }
    QWidget* control(const QString& name) const { return find<QWidget>(name); }
    QString caption(const QString& labelName) const;
    // The control's own enabled state, apart from its frame's.
    bool ownEnabled(const QString& name) const;
    // Whether the user can reach the control (its frame included).
    bool usable(const QString& name) const;

    FolderList* dir(const QString& name) const { return find<FolderList>(name); }
    FileList* files(const QString& name) const { return find<FileList>(name); }
    LineList* lineList(const QString& name) const { return find<LineList>(name); }
    PigeonList* pigeonList() const { return find<PigeonList>(QStringLiteral("List1")); }
    YearCombo* yearCodes() const { return find<YearCombo>(QStringLiteral("Combo2")); }
    QCheckBox* yearBox() const { return find<QCheckBox>(QStringLiteral("Check1")); }
    QPushButton* danFil() const { return find<QPushButton>(QStringLiteral("Command1")); }
    QStringList entries(const QString& listName) const;
    WindowReport report() const;

    // The mouse, on an entry found by its text.
    void click(QAbstractItemView* view, const QString& entryText);
    void doubleClick(QAbstractItemView* view, const QString& entryText);
    void clickRow(QAbstractItemView* view, int row);
    // Opens a folder the way the user does: a double-click in the folder list.
    void openFolder(const QString& dirName, const QString& folder);
    // The usual steps of the workflow.
    void loadExport(const QString& folder, const QString& fileName);
    void merge(const QString& folder, const QString& fileName);
    void pickYear(const QString& code);
    void clickDanFil();
    void toggleYearBox();
    void take(const UserStep& step);
    // Runs `flow`, calling `pause` at its pause stage.
    void run(const Workflow& flow, const std::function<void()>& pause);

    // The keyboard alone. Shows the window and makes it the active one, so
    // that it takes the focus; false when it never became active.
    bool bringToFront() { return bringToFront(*m_window); }
    static bool bringToFront(QWidget& window);
    // The named control that the focus widget is part of (a combo box's
    // drop-down counts as the combo box); empty when nothing has the focus.
    static QString focusedControl();
    // False, with a test failure, when no widget has the focus.
    static bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static bool type(const QString& text);
    // Presses `key` (Tab or Backtab) until `control` has the focus, at most
    // `limit` times.
    static bool moveFocusTo(const QString& control, int key = Qt::Key_Tab, int limit = 30);
    // The controls the focus lands on, one per press of `key`.
    static QStringList focusPath(int key, int presses);
    // Moves the current entry of the focused list with the arrow keys until it
    // shows `text`: down first, then up.
    static bool arrowTo(const QString& text);

private:
    std::unique_ptr<MainWindow> m_window;
    std::vector<WindowReport> m_atRefusal;
};

// Saves the part of the screen that shows a window and anything over it, for
// the screenshots in docs/; says which file it wrote.
bool grab(const QString& file, const QRect& area);

} // namespace dalvero::testing
