#pragma once
// The legend: one entry per map layer, in map order, with the display name, its symbols and a
// visibility switch.

#include <QImage>
#include <QWidget>

namespace engine {

class Map;

class Legend : public QWidget {
    Q_OBJECT
public:
    explicit Legend(QWidget* parent = nullptr);
    void setMapSource(Map* map);
    Map* mapSource() const { return map_; }
    void clear();
    // Rebuilds the entries from the bound map's layers. Returns true.
    bool loadLegend(bool showAll = true);
    int entryCount() const;
    // Switches a layer as a user click on its entry does (emits afterSetLayerVisible).
    void setLayerVisibleFromUser(int index, bool visible);
    // Where the heading (check box and name) of an entry is drawn; empty for no such entry.
    QRect entryRect(int index) const;
    // The whole legend, every entry, as an image; and written to a file (format by extension).
    QImage toImage() const;
    bool saveToBitmap(const QString& path) const;
    // A legend for a printed page: only the shown layers, without their switches.
    void setPrintStyle(bool print);

signals:
    void afterSetLayerVisible(int index, bool visible);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    QSize sizeHint() const override;

private:
    Map* map_ = nullptr;
    int entries_ = 0;
    bool print_ = false;
};

}  // namespace engine
