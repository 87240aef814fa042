#include "display_scale.h"

#include <QByteArray>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace dalvero {

void followDisplayScale() {
    // At a fractional factor (125 % is 1.25) a one-pixel line lies across a
    // device pixel's edge, and the bottom and right edges of frames and lists
    // were lost where the control ends inside a pixel. Rounded down, the
    // factor stays whole, and Qt hands the fraction on in the screen's
    // logical dpi (120 at 125 %, 168 at 175 %, 120 on a factor of 2 at 250 %):
    // the window is as large as the scale asks, drawn in whole pixels.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Floor);

    // QT_SCALE_FACTOR reaches the windows unrounded; its fraction goes into
    // the font dpi instead, which Qt rounds as the screen's own. That dpi
    // takes the place of the desktop's (Xft.dpi), as QT_FONT_DPI always does.
    bool isNumber = false;
    const double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&isNumber);
    if (!isNumber || asked <= 0 || asked == std::floor(asked))
        return;
    const double whole = std::max(1.0, std::floor(asked));
    const int fontDpi = qEnvironmentVariableIntValue("QT_FONT_DPI");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(whole));
    qputenv("QT_FONT_DPI",
            QByteArray::number(std::lround((fontDpi > 0 ? fontDpi : 96) * asked / whole)));
}

} // namespace dalvero
