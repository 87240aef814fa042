#include "twips.h"

#include <QWidget>

#include <cmath>

namespace dalvero {

Twips::Twips(const QWidget& widget) : m_dpi(widget.logicalDpiX()) {}

int Twips::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * static_cast<double>(m_dpi) / 1440.0));
}

QRect Twips::rect(int left, int top, int width, int height) const {
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

} // namespace dalvero
