#pragma once

namespace dalvero {

// Called before the application is made, so that every window follows the
// display's scale with each of its lines on a whole device pixel: Qt scales
// the windows by a whole factor only, and the rest of the scale makes the
// screen's logical dpi larger or smaller, which the twips and the fonts are
// taken at.
void followDisplayScale();

} // namespace dalvero
