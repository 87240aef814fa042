#include "virtual_store_copy.h"

#include "backup.h"
#include "platform/virtual_store.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace dalvero {

namespace {

QString changedText(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("findes ikke");
    return QStringLiteral("ændret ") +
           QLocale::system().toString(info.lastModified(), QLocale::ShortFormat);
}

} // namespace

std::optional<VirtualStoreCopy> virtualStoreCopy(const QString& path) {
    const QString copy = platform::virtualStorePath(path);
    // A folder of that name is no copy of the file.
    if (copy.isEmpty() || !QFileInfo(copy).isFile())
        return std::nullopt;
    return VirtualStoreCopy{QDir::toNativeSeparators(path), copy};
}

QString virtualStoreNotice(const VirtualStoreCopy& found) {
    return QStringLiteral(
               "Windows har en anden udgave af %1 til ældre programmer:\n%2 (%3)\n\n"
               "Denne fil:\n%4 (%5)\n\n"
               "Ældre programmer, der ikke køres som administrator, læser og skriver kun "
               "udgaven i VirtualStore, ikke denne fil. Vælg den fil, dit urprogram bruger. "
               "Dalvero læser, kopierer til %6 og skriver kun den fil, du vælger.")
        .arg(QFileInfo(found.chosen).fileName(), found.copy, changedText(found.copy), found.chosen,
             changedText(found.chosen), kBackupFolderName);
}

QString virtualStoreAdvice(const QString& path) {
    const QString copy = platform::virtualStorePath(path);
    if (copy.isEmpty() || QFileInfo::exists(copy))
        return {};
    return QStringLiteral(" Windows lægger ældre programmers filer fra denne mappe i VirtualStore "
                          "i stedet: %1. Der er ingen udgave af %2 dér.")
        .arg(QDir::toNativeSeparators(QFileInfo(copy).absolutePath()), QFileInfo(path).fileName());
}

} // namespace dalvero
