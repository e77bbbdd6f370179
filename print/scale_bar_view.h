#pragma once
// The print window's scale bar: a widget showing the engine's scale bar for the print map.

#include <QString>
#include <QWidget>

#include "engine/scale_bar.h"

namespace engine {
class Map;
}

namespace print {

// Scale-bar map units for the main map: from the unit name of its first layer's coordinate
// system, 0 degrees, 1 feet, 2 anything else (metres); 2 without layers or coordinate system.
int mapUnitsOf(const engine::Map& map);

class ScaleBarView : public QWidget {
public:
    explicit ScaleBarView(QWidget* parent = nullptr) : QWidget(parent) {}
    engine::ScaleBar bar;

    // Room for the bar and its labels in the bar's font.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace print
