#pragma once

#include "failure.h"

#include <QComboBox>

namespace dalvero {

// The drive list: the file systems a user would pick from, "/" first. Its
// change event is `driveChanged`, raised for every change of the chosen
// drive, by the user or by code.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // The chosen drive: the root folder of its file system.
    QString drive() const;
    bool setDrive(const QString& rootPath);

    // The folder that choosing this drive opens: the process's current folder
    // when it lies on the drive, else the drive's root. Fails when the drive
    // is gone or not ready.
    Result<QString> currentFolder() const;

    // The root of the file system that holds `path`.
    static QString driveOf(const QString& path);

signals:
    void driveChanged();

private:
    void fill();
};

} // namespace dalvero
