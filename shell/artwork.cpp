#include "shell/artwork.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace shell {
namespace {

// A three-bladed turbine standing on (base) with the given tower height; angle turns the rotor.
void paintTurbine(QPainter& p, QPointF base, double height, double angleDeg) {
    const QPointF hub(base.x(), base.y() - height);
    const double w = height * 0.035;
    QPainterPath tower;
    tower.moveTo(base.x() - w, base.y());
    tower.lineTo(base.x() + w, base.y());
    tower.lineTo(hub.x() + w * 0.45, hub.y());
    tower.lineTo(hub.x() - w * 0.45, hub.y());
    tower.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 247, 250));
    p.drawPath(tower);

    const double blade = height * 0.55;
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(hub);
        p.rotate(angleDeg + i * 120.0);
        QPainterPath b;
        b.moveTo(0, 0);
        b.cubicTo(blade * 0.15, -w * 1.6, blade * 0.7, -w * 0.9, blade, 0);
        b.cubicTo(blade * 0.7, w * 0.4, blade * 0.15, w * 0.5, 0, 0);
        p.setBrush(QColor(250, 251, 253));
        p.setPen(QPen(QColor(150, 160, 170), 0.6));
        p.drawPath(b);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 205, 212));
    p.drawEllipse(hub, w * 0.9, w * 0.9);
}

// A rolling hill line across the rect at baseline y.
QPainterPath hill(const QRectF& r, double y, double amplitude, double phase, double waves) {
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    const int steps = 60;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double x = r.left() + t * r.width();
        path.lineTo(x, y - amplitude * std::sin(phase + t * waves * 2 * M_PI));
    }
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    return path;
}

}  // namespace

void paintLandscape(QPainter& p, const QRectF& area, const QString& title) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(area);
    // A tall area gets the scene at its foot and a deepening sky above, not a stretched scene.
    QRectF r = area;
    if (r.height() > r.width() * 0.75) {
        r.setTop(std::round(r.bottom() - r.width() * 0.75));
        QLinearGradient upper(area.topLeft(), QPointF(area.left(), r.top()));
        upper.setColorAt(0.0, QColor(24, 64, 138));
        upper.setColorAt(1.0, QColor(52, 120, 196));
        p.fillRect(area, upper);
    }

    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(52, 120, 196));
    sky.setColorAt(0.55, QColor(150, 200, 236));
    sky.setColorAt(0.75, QColor(255, 226, 170));
    p.fillRect(r, sky);

    const QPointF sunCentre(r.left() + r.width() * 0.78, r.top() + r.height() * 0.42);
    const double sunRadius = std::min(r.width(), r.height()) * 0.11;
    QRadialGradient glow(sunCentre, sunRadius * 3.2);
    glow.setColorAt(0.0, QColor(255, 240, 170, 200));
    glow.setColorAt(1.0, QColor(255, 240, 170, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(sunCentre, sunRadius * 3.2, sunRadius * 3.2);
    p.setBrush(QColor(255, 214, 80));
    p.drawEllipse(sunCentre, sunRadius, sunRadius);

    const double h = r.height();
    p.setBrush(QColor(120, 160, 110));
    p.drawPath(hill(r, r.top() + h * 0.68, h * 0.05, 0.8, 1.3));

    // Turbines on the far ridge, smaller with distance.
    const double ridge = r.top() + h * 0.68;
    const struct {
        double x, scale, angle;
    } turbines[] = {{0.12, 0.26, 10}, {0.27, 0.33, 55}, {0.43, 0.29, 95}, {0.58, 0.22, 30}};
    for (const auto& t : turbines) {
        const double x = r.left() + r.width() * t.x;
        const double y = ridge - h * 0.05 * std::sin(0.8 + t.x * 1.3 * 2 * M_PI) + h * 0.01;
        paintTurbine(p, QPointF(x, y), h * t.scale, t.angle);
    }

    p.setBrush(QColor(88, 140, 74));
    p.drawPath(hill(r, r.top() + h * 0.8, h * 0.04, 2.2, 0.9));

    // A row of solar panels in the foreground field.
    p.setBrush(QColor(64, 118, 60));
    p.drawPath(hill(r, r.top() + h * 0.9, h * 0.02, 0.3, 0.6));
    const double panelW = r.width() * 0.06, panelH = h * 0.035;
    for (int i = 0; i < 5; ++i) {
        const QPointF at(r.left() + r.width() * (0.6 + i * 0.075), r.top() + h * 0.885);
        QPolygonF panel({at, at + QPointF(panelW, 0), at + QPointF(panelW * 0.85, -panelH),
                         at + QPointF(-panelW * 0.15, -panelH)});
        p.setBrush(QColor(40, 62, 110));
        p.setPen(QPen(QColor(190, 200, 220), 0.8));
        p.drawPolygon(panel);
    }

    if (!title.isEmpty()) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(std::max(10, int(std::min(h * 0.16, r.width() * 0.18))));
        p.setFont(font);
        const QRectF titleRect(r.left(), r.top() + h * 0.06, r.width(), h * 0.22);
        p.setPen(QColor(20, 40, 80, 110));
        p.drawText(titleRect.translated(2, 2), Qt::AlignCenter, title);
        p.setPen(Qt::white);
        p.drawText(titleRect, Qt::AlignCenter, title);
    }
    p.restore();
}

LandscapePicture::LandscapePicture(const QString& title, QWidget* parent)
    : QWidget(parent), title_(title) {}

QSize LandscapePicture::sizeHint() const {
    const int line = fontMetrics().height();
    return {18 * line, 13 * line};
}

void LandscapePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintLandscape(p, rect(), title_);
}

void LandscapePicture::mousePressEvent(QMouseEvent* e) {
    emit clicked();
    e->accept();
}

}  // namespace shell
