#pragma once

#include <QRect>

class QWidget;

namespace dalvero {

// Positions and sizes of the window are given in twips, 1/1440 inch; this
// turns them into pixels for the screen the widget is on.
class Twips {
public:
    explicit Twips(const QWidget& widget);

    int pixels(int twips) const;
    QRect rect(int left, int top, int width, int height) const;

private:
    int m_dpi;
};

} // namespace dalvero
