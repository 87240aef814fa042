#include "file_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace dalvero {

QString FileChooser::chooseFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& nameFilter) {
    const QString chosen = QFileDialog::getOpenFileName(parent, title, folder, nameFilter, nullptr,
                                                        QFileDialog::DontResolveSymlinks);
    return chosen.isEmpty() ? chosen : QDir::toNativeSeparators(chosen);
}

} // namespace dalvero
