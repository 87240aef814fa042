#include "display_scale.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cmath>

namespace dalvero {

void followDisplayScale() {
    // At a fractional factor (125 % is 1.25) a one-pixel line lies across a
    // device pixel's edge, and the bottom and right edges of frames and lists
    // were lost where the control ends inside a pixel. Rounded, the factor
    // stays whole, and Qt hands the rest on in the screen's logical dpi: 1 at
    // 120 dpi for 125 %, 1 at 144 for 150 %, 2 at 84 for 175 %, 2 at 120 for
    // 250 %. Rounded up only from .75: the style's own sizes (check boxes,
    // scroll bars, icons) follow the factor alone, and a factor of 2 at 150 %
    // had scroll bars fill the small lists, 1 at 175 % check boxes half size.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);

    // QT_SCALE_FACTOR reaches the windows unrounded; a fractional one goes
    // into the font dpi instead, which Qt rounds as the screen's own. That dpi
    // takes the place of the desktop's (Xft.dpi), as QT_FONT_DPI always does.
    bool isNumber = false;
    const double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&isNumber);
    if (!isNumber || asked <= 0 || asked == std::floor(asked))
        return;
    const int fontDpi = qEnvironmentVariableIntValue("QT_FONT_DPI");
    qputenv("QT_SCALE_FACTOR", "1");
    qputenv("QT_FONT_DPI", QByteArray::number(std::lround((fontDpi > 0 ? fontDpi : 96) * asked)));
}

} // namespace dalvero
