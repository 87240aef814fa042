#include "failure.h"

#include <QCoreApplication>

namespace dalvero {

namespace {

// Qt words a few of the system's reasons itself, in English whatever the
// user's language ("Permission denied", "No such file or directory"); its
// translations have them under this context. Any other reason is already the
// system's own, in the user's language where the system has one.
QString inUsersLanguage(const QString& reason) {
    const QByteArray source = reason.toUtf8();
    const QString translated = QCoreApplication::translate("QIODevice", source.constData());
    return translated == QString::fromUtf8(source) ? reason : translated;
}

} // namespace

QString Failure::message() const {
    QString text = what;
    if (!path.isEmpty())
        text += QStringLiteral("\n\nFil: ") + path;
    if (!reason.isEmpty())
        text += QStringLiteral("\nÅrsag: ") + inUsersLanguage(reason);
    return text;
}

} // namespace dalvero
