#include "engine/label_placement.h"

#include <QFontMetricsF>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace engine {

namespace {

// Light, so that dark text reads over any fill.
const QColor kHaloColor(255, 255, 255);
// The halo's outline: the text moved by the halo's width in eight directions.
const QPointF kHaloDirections[] = {{1, 0},  {0.7071, 0.7071},   {0, 1},  {-0.7071, 0.7071},
                                   {-1, 0}, {-0.7071, -0.7071}, {0, -1}, {0.7071, -0.7071}};

// Placed boxes by the square cells they touch, so a new box is tested only against its
// neighbours.
class BoxGrid {
  public:
    bool overlapsAny(const QRectF& box) const {
        bool found = false;
        forCells(box, [&](qint64 key) {
            const auto it = cells_.find(key);
            if (it == cells_.end()) return;
            for (const QRectF& placed : it->second)
                if (placed.intersects(box)) found = true;
        });
        return found;
    }
    void insert(const QRectF& box) {
        forCells(box, [&](qint64 key) { cells_[key].push_back(box); });
    }

  private:
    static constexpr double kCell = 64;  // pixels

    template <class F>
    static void forCells(const QRectF& box, F&& f) {
        const auto cell = [](double v) { return qint64(std::floor(v / kCell)); };
        for (qint64 y = cell(box.top()); y <= cell(box.bottom()); ++y)
            for (qint64 x = cell(box.left()); x <= cell(box.right()); ++x)
                f((y << 32) ^ (x & 0xffffffff));
    }

    std::unordered_map<qint64, std::vector<QRectF>> cells_;
};

}  // namespace

double haloWidth(int fontPixels) { return std::max(1.5, fontPixels / 8.0); }

void LabelPlacement::add(const QString& text, const QPointF& at, double size, const QFont& font,
                         const QColor& color) {
    candidates_.push_back({text, at, size, font, color});
}

std::vector<PlacedLabel> LabelPlacement::place() const {
    std::vector<size_t> order(candidates_.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        return candidates_[a].size > candidates_[b].size;
    });
    std::vector<PlacedLabel> placed;
    BoxGrid grid;
    QFont font;
    QFontMetricsF metrics(font);
    for (size_t i : order) {
        const Candidate& c = candidates_[i];
        if (c.font != font) {
            font = c.font;
            metrics = QFontMetricsF(font);
        }
        const double halo = haloWidth(font.pixelSize());
        const double w = metrics.horizontalAdvance(c.text) + 2 * halo;
        const double h = metrics.height() + 2 * halo;
        const QRectF box(c.at.x() - w / 2, c.at.y() - h / 2, w, h);
        if (!bounds_.contains(box) || grid.overlapsAny(box)) continue;
        grid.insert(box);
        placed.push_back({c.text, box, c.font, c.color});
    }
    return placed;
}

void LabelPlacement::draw(QPainter& painter) const {
    if (candidates_.empty()) return;
    painter.save();
    for (const PlacedLabel& c : place()) {
        if (painter.font() != c.font) painter.setFont(c.font);
        // The halo is the text written around its place in the halo's colour, then the text on
        // top; laid out once for all nine.
        QStaticText text(c.text);
        text.setTextFormat(Qt::PlainText);
        text.prepare(painter.transform(), c.font);
        const double halo = haloWidth(c.font.pixelSize());
        const QPointF at(c.box.left() + halo, c.box.top() + halo);
        painter.setPen(kHaloColor);
        for (const QPointF& d : kHaloDirections) painter.drawStaticText(at + d * halo, text);
        painter.setPen(c.color);
        painter.drawStaticText(at, text);
    }
    painter.restore();
}

}  // namespace engine
