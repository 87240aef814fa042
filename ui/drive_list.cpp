#include "drive_list.h"

#include "busy_wait.h"
#include "folder_list.h"

#include <QAccessibleWidget>
#include <QDir>
#include <QSignalBlocker>

#include <memory>
#include <optional>

namespace dalvero {

namespace {

// Qt names a combo box by the text it shows on Linux, where a screen reader
// would say "/" for both drive lists. These say what the list is, and the
// drive shown is their value, on every platform.
class DriveListAccessible : public QAccessibleWidget {
public:
    explicit DriveListAccessible(QWidget* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName();
        case QAccessible::Value:
            return static_cast<const QComboBox*>(widget())->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction())
            static_cast<QComboBox*>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* accessibleDriveList(const QString& className, QObject* object) {
    if (className == QLatin1String(DriveList::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new DriveListAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

DriveList::DriveList(const QList<drives::Drive>& machineDrives, QWidget* parent)
    : QComboBox(parent) {
    static const bool described = (QAccessible::installFactory(accessibleDriveList), true);
    (void)described;
    list(machineDrives);
    // A start folder on a share: its root is the drive shown.
    const QString start = driveOf(QDir::currentPath());
    if (!setDrive(start) && !start.isEmpty()) {
        addItem(QDir::toNativeSeparators(QDir::cleanPath(start)), start);
        setDrive(start);
    }
    keepShown();
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

void DriveList::showPopup() {
    list(drives::all());
    QComboBox::showPopup();
}

void DriveList::list(const QList<drives::Drive>& machineDrives) {
    // Listing again changes nothing the user chose: no change event.
    const QSignalBlocker quiet(this);
    const int shownAt = currentIndex();
    const QString shown = drive();
    const QString shownCaption = currentText();
    clear();
    for (const drives::Drive& each : machineDrives)
        addItem(each.caption, each.root);
    if (shownAt < 0)
        return;
    if (!setDrive(shown)) {
        insertItem(qMin(shownAt, count()), shownCaption, shown);
        setDrive(shown);
    }
}

QString DriveList::driveOf(const QString& path) {
    return drives::driveOf(path);
}

QString DriveList::drive() const {
    return currentData().toString();
}

bool DriveList::setDrive(const QString& rootPath) {
    const int index = findData(rootPath);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

Result<DriveList::Opened> DriveList::currentFolder(QLabel* prompt) const {
    const QString root = drive();
    const QString current = QDir::toNativeSeparators(QDir::currentPath());
    // The job's answer, which only this wait reads, and only once it ended.
    const auto answer = std::make_shared<std::optional<Result<Opened>>>();
    const bool answered = endsWithin(
        window(), prompt, QStringLiteral("Venter på, at drevet svarer …"), kAnswerMs,
        [answer, root, current, check = drives::readyCheck(root)] {
            if (Status notReady = check()) {
                answer->emplace(*notReady);
                return;
            }
            const QString folder = driveOf(current) == root ? current : root;
            answer->emplace(Opened{folder, FolderList::readFolders(QDir(folder).absolutePath())});
        });
    if (!answered)
        return Failure{drives::kDriveNoAnswer, root,
                       QStringLiteral("Intet svar på %1 sekunder. Et netværksdrev svarer ikke, "
                                      "når forbindelsen eller serveren er væk.")
                           .arg(kAnswerMs / 1000)};
    return **answer;
}

void DriveList::keepShown() {
    m_shown = drive();
}

void DriveList::returnToShown() {
    // Nothing changed for the user: no change event.
    const QSignalBlocker quiet(this);
    setDrive(m_shown);
}

} // namespace dalvero
