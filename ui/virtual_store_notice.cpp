#include "virtual_store_notice.h"

#include "conversion/virtual_store_copy.h"
#include "file_list.h"
#include "folder_list.h"
#include "window_services.h"

#include <QFileInfo>

namespace dalvero {

std::optional<QString> fileToWorkOn(QWidget* parent, WindowServices& seam, const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const std::optional<VirtualStoreCopy> found = virtualStoreCopy(path);
    if (!found)
        return path;
    // Told every time, and nothing picked for the user: which file the
    // race clock reads is known only to the user.
    switch (seam.askChoice(parent, virtualStoreNotice(*found),
                           {QStringLiteral("Brug udgaven i &VirtualStore"),
                            QStringLiteral("Brug &denne fil"), QStringLiteral("&Annuller")})) {
    case 0:
        return found->copy;
    case 1:
        return path;
    default:
        return std::nullopt;
    }
}

Status showInLists(FolderList& folders, FileList& files, const QString& file) {
    const QFileInfo info(file);
    if (Status failed = folders.setPath(info.absolutePath()))
        return failed;
    for (int row = 0; row < files.count(); ++row) {
        if (files.list(row) == info.fileName()) {
            files.setCurrentRow(row);
            return std::nullopt;
        }
    }
    return Failure{QStringLiteral("Kunne ikke vise filen"), file,
                   QStringLiteral("Filen står ikke i listen over filer")};
}

} // namespace dalvero
