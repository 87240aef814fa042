#include "drive_list.h"

#include <QDir>
#include <QSignalBlocker>

namespace dalvero {

DriveList::DriveList(const QList<drives::Drive>& machineDrives, QWidget* parent)
    : QComboBox(parent) {
    for (const drives::Drive& drive : machineDrives)
        addItem(drive.caption, drive.root);
    setDrive(driveOf(QDir::currentPath()));
    keepShown();
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
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

Result<QString> DriveList::currentFolder() const {
    const QString root = drive();
    if (Status notReady = drives::checkReady(root))
        return *notReady;
    const QString current = QDir::toNativeSeparators(QDir::currentPath());
    return driveOf(current) == root ? current : root;
}

void DriveList::keepShown() {
    m_shown = currentIndex();
}

void DriveList::returnToShown() {
    // Nothing changed for the user: no change event.
    const QSignalBlocker quiet(this);
    setCurrentIndex(m_shown);
}

} // namespace dalvero
