#include "virtual_store.h"

#include "platform_files.h"
#include "scripted_answers.h"

#include <QDir>
#include <QRegularExpression>

namespace dalvero::platform {

namespace {

// The path below its drive (or below "/"), as VirtualStore repeats it:
// "C:\Program Files (x86)\Ur\z12345" is kept as "Program Files (x86)\Ur\z12345".
QString belowTheDrive(const QString& absolute) {
    static const QRegularExpression drive(QStringLiteral("^([A-Za-z]:)?/"));
    const QRegularExpressionMatch match = drive.match(absolute);
    return match.hasMatch() ? absolute.mid(match.capturedLength()) : QString();
}

bool liesUnder(const QString& path, const QString& folder) {
    const QString top = QDir::cleanPath(QDir(folder).absolutePath());
    if (top.isEmpty() || path.size() <= top.size())
        return false;
    const QString separated = top.endsWith(QLatin1Char('/')) ? top : top + QLatin1Char('/');
    return path.startsWith(separated, fileNameCase());
}

} // namespace

VirtualStoreLayout virtualStoreLayout() {
    if (const auto& scripted = scriptedAnswers().virtualStore)
        return scripted();
    return systemVirtualStoreLayout();
}

QString virtualStorePath(const QString& path) {
    const VirtualStoreLayout layout = virtualStoreLayout();
    if (layout.root.isEmpty())
        return {};
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    for (const QString& folder : layout.redirected) {
        if (!liesUnder(absolute, folder))
            continue;
        const QString below = belowTheDrive(absolute);
        if (below.isEmpty())
            return {};
        return QDir::toNativeSeparators(QDir(layout.root).filePath(below));
    }
    return {};
}

} // namespace dalvero::platform
