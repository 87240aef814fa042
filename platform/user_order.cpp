#include "user_order.h"

#include <QCollator>

#include <algorithm>

namespace dalvero {

void sortForUser(QStringList& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // Names equal to the collator still get one fixed order.
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

} // namespace dalvero
