#pragma once

#include "platform/drives.h"
#include "platform/failure.h"

#include <QComboBox>

class QLabel;

namespace dalvero {

// The drive list: the machine's drives, starting at the current one. Its
// change event is `driveChanged`, raised for every change of the chosen
// drive, by the user or by code. Each time the user opens it, it lists the
// drives anew: a stick plugged in since appears, one pulled out goes. The
// drive shown stays, listed or not, until the user picks another.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    // `machineDrives` are found once at start for both of the window's lists.
    explicit DriveList(const QList<drives::Drive>& machineDrives, QWidget* parent = nullptr);

    void showPopup() override;

    // The chosen drive: its root folder.
    QString drive() const;
    bool setDrive(const QString& rootPath);

    struct Opened {
        QString folder;
        Result<QStringList> subfolders; // as FolderList::readFolders gives them
    };
    // The folder that choosing this drive opens: the process's current folder
    // when it lies on the drive, else the drive's root. Fails when the drive
    // is gone or not ready. Asked, with the folder's first read, off the
    // window's thread and for at most kAnswerMs, the wait told in `prompt`:
    // a network drive whose server is away may keep the system asking for
    // tens of seconds; it fails then with drives::kDriveNoAnswer.
    Result<Opened> currentFolder(QLabel* prompt) const;
    static constexpr int kAnswerMs = 3000;

    // The drive whose folders are shown now: kept once they are, and chosen
    // again when another drive turned out not to be ready.
    void keepShown();
    void returnToShown();

    // The root of the drive that holds `path`.
    static QString driveOf(const QString& path);

signals:
    void driveChanged();

private:
    // Lists `machineDrives` and the drive shown now, which stays shown.
    void list(const QList<drives::Drive>& machineDrives);

    QString m_shown;
};

} // namespace dalvero
