#include "failure.h"

namespace dalvero {

QString Failure::message() const {
    QString text = what;
    if (!path.isEmpty())
        text += QStringLiteral("\n\nFil: ") + path;
    if (!reason.isEmpty())
        text += QStringLiteral("\nÅrsag: ") + reason;
    return text;
}

} // namespace dalvero
