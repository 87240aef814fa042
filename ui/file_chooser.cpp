#include "file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

namespace dalvero {

QString FileChooser::chooseFile(QWidget* parent, const QString& title, const QString& folder,
                                const QString& nameFilter) {
    // A name that is not there may be typed too: a copy can be put back as
    // a file that went missing.
    QFileDialog dialog(parent, title, folder, nameFilter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontResolveSymlinks);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

QString nameFilter(const QString& name) {
    const QString all = QStringLiteral("Alle filer (*)");
    if (name.contains(QRegularExpression(QStringLiteral("[\\s*?\\[\\]();]"))))
        return all;
    return QStringLiteral("UNIKON filen %1 (%1);;").arg(name) + all;
}

} // namespace dalvero
