#include "shell/twips.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <cmath>

namespace shell {

double twipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return kTwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

int twipsToPixels(double twips) { return int(std::lround(twips / twipsPerPixel())); }

double pixelsToTwips(double pixels) { return pixels * twipsPerPixel(); }

QRect twipsRect(double left, double top, double width, double height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace shell
