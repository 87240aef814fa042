#include "wildcard.h"

#include <QRegularExpression>

namespace dalvero {

namespace {

bool matchesExactly(const QString& name, const QString& pattern) {
    const QRegularExpression expression(QRegularExpression::wildcardToRegularExpression(pattern),
                                        QRegularExpression::CaseInsensitiveOption);
    return expression.match(name).hasMatch();
}

} // namespace

bool matchesWildcard(const QString& name, const QString& pattern) {
    if (matchesExactly(name, pattern))
        return true;
    const QString anyExtension = QStringLiteral(".*");
    return pattern.endsWith(anyExtension) && !name.contains(QLatin1Char('.')) &&
           matchesExactly(name, pattern.chopped(anyExtension.size()));
}

} // namespace dalvero
