#pragma once
// Window positions and sizes are kept in twips (1440 to the inch) and converted to pixels only
// where they meet a widget, with the screen's logical DPI (96 dpi: 15 twips per pixel).

class QRect;

namespace shell {

constexpr double kTwipsPerInch = 1440.0;

double twipsPerPixel();
int twipsToPixels(double twips);
double pixelsToTwips(double pixels);
QRect twipsRect(double left, double top, double width, double height);

}  // namespace shell
