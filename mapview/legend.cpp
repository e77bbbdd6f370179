#include "mapview/legend.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "engine/symbol_painter.h"
#include "mapview/map.h"

namespace engine {

namespace {

constexpr int margin = 4;
constexpr int boxSize = 13;
constexpr int swatchWidth = 24;
constexpr int indent = margin + boxSize + 6;

struct Row {
    int layer;
    int symbol;  // -1: the entry's heading (check box and name)
    QString text;
    const Symbol* sym;
};

// The heading of each layer, then one row per swatch: the layer's own symbol, or each class.
std::vector<Row> rowsOf(const Map* map, int entries, bool shownOnly = false) {
    std::vector<Row> rows;
    if (!map) return rows;
    entries = std::min(entries, map->layerCount());
    for (int i = 0; i < entries; ++i) {
        const MapLayer& l = *map->layer(i);
        if (shownOnly && !l.visible) continue;
        rows.push_back({i, -1, l.name, nullptr});
        static const Renderer plain;
        const auto swatches = (l.renderer ? *l.renderer : plain).legendEntries(l.symbol);
        for (size_t c = 0; c < swatches.size(); ++c)
            rows.push_back({i, int(c), swatches[c].text, swatches[c].symbol});
    }
    return rows;
}

}  // namespace

// Taller than its room, the legend keeps its height so a scroll area around it scrolls.
Legend::Legend(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

void Legend::setMapSource(Map* map) {
    map_ = map;
    entries_ = 0;
    updateGeometry();
    update();
}

void Legend::clear() {
    entries_ = 0;
    updateGeometry();
    update();
}

bool Legend::loadLegend(bool) {
    entries_ = map_ ? map_->layerCount() : 0;
    updateGeometry();
    update();
    return true;
}

int Legend::entryCount() const { return map_ ? std::min(entries_, map_->layerCount()) : 0; }

void Legend::setLayerVisibleFromUser(int index, bool visible) {
    if (!map_ || index < 0 || index >= entryCount()) return;
    map_->layer(index)->visible = visible;
    update();
    emit afterSetLayerVisible(index, visible);
}

static int rowHeight(const QFontMetrics& fm) { return std::max(boxSize, fm.height()) + 4; }

QRect Legend::entryRect(int index) const {
    const QFontMetrics fm(font());
    const int h = rowHeight(fm);
    const auto rows = rowsOf(map_, entries_, print_);
    for (int i = 0; i < int(rows.size()); ++i)
        if (rows[i].symbol < 0 && rows[i].layer == index)
            return QRect(0, margin + i * h, indent + fm.horizontalAdvance(rows[i].text) + margin, h);
    return {};
}

QSize Legend::sizeHint() const {
    const QFontMetrics fm(font());
    int width = 160;
    const auto rows = rowsOf(map_, entries_, print_);
    for (const Row& r : rows)
        width = std::max(width, indent + (r.symbol < 0 ? 0 : swatchWidth + 6) +
                                    fm.horizontalAdvance(r.text) + margin);
    return {width, int(rows.size()) * rowHeight(fm) + 2 * margin};
}

// Paints every row from the top of a surface of the given width; a printed legend has no
// switches.
static void paintRows(QPainter& p, const QWidget& w, const Map* map, int entries, int width,
                      bool print) {
    const QFontMetrics fm(w.font());
    const int h = rowHeight(fm);
    int y = margin;
    p.setFont(w.font());
    for (const Row& r : rowsOf(map, entries, print)) {
        if (r.symbol < 0 && print) {
            p.setPen(Qt::black);
            p.drawText(QRect(margin, y, width - margin, h), Qt::AlignVCenter | Qt::AlignLeft, r.text);
        } else if (r.symbol < 0) {
            QStyleOptionButton box;
            box.initFrom(&w);
            box.rect = QRect(margin, y + (h - boxSize) / 2, boxSize, boxSize);
            box.state |= map->layer(r.layer)->visible ? QStyle::State_On : QStyle::State_Off;
            w.style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, &w);
            p.setPen(Qt::black);
            p.drawText(QRect(indent, y, width - indent, h), Qt::AlignVCenter | Qt::AlignLeft, r.text);
        } else {
            drawSwatch(p, QRectF(indent, y + 2, swatchWidth, h - 4), *r.sym, map->layer(r.layer)->shapeType());
            p.setPen(Qt::black);
            p.drawText(QRect(indent + swatchWidth + 6, y, width, h), Qt::AlignVCenter | Qt::AlignLeft,
                       r.text);
        }
        y += h;
    }
}

void Legend::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    paintRows(p, *this, map_, entries_, width(), print_);
}

void Legend::mousePressEvent(QMouseEvent* e) {
    const int h = rowHeight(QFontMetrics(font()));
    const auto rows = rowsOf(map_, entries_, print_);
    const int i = (int(e->position().y()) - margin) / h;
    if (e->position().y() < margin || i >= int(rows.size()) || rows[i].symbol >= 0) return;
    setLayerVisibleFromUser(rows[i].layer, !map_->layer(rows[i].layer)->visible);
}

QImage Legend::toImage() const {
    const QSize size = sizeHint().expandedTo(QSize(width(), 1));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    paintRows(p, *this, map_, entries_, size.width(), print_);
    return image;
}

bool Legend::saveToBitmap(const QString& path) const { return toImage().save(path); }

void Legend::setPrintStyle(bool print) {
    print_ = print;
    updateGeometry();
    update();
}

}  // namespace engine
