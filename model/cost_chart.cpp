#include "model/cost_chart.h"

#include <QFrame>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace model {

namespace {

// The largest bar stops short of the right edge, so its tick label has room.
constexpr int kRightMargin = 8;
constexpr int kTickLength = 4;
const QColor kAxisColor(64, 64, 64);
const QString kAxisTitle = QStringLiteral("Net Present Cost (US$)");

int fullWidthOf(int width) { return std::max(1, width - kRightMargin); }

// Fewest decimals (up to three) that write the value exactly.
QString shortNumber(double value) {
    int decimals = 0;
    while (decimals < 3 && std::abs(value * std::pow(10, decimals) -
                                    std::round(value * std::pow(10, decimals))) > 1e-6)
        ++decimals;
    return QLocale().toString(value, 'f', decimals);
}

}  // namespace

QString dollars(double amount, int decimals) {
    const QString number = QLocale().toString(std::abs(amount), 'f', decimals);
    return (amount < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + number;
}

QString shortDollars(double amount) {
    if (amount >= 1e6) return QStringLiteral("$") + shortNumber(amount / 1e6) + QStringLiteral("M");
    if (amount >= 1e3) return QStringLiteral("$") + shortNumber(amount / 1e3) + QStringLiteral("k");
    return QStringLiteral("$") + shortNumber(amount);
}

std::vector<double> axisTicks(double largest, int maxTicks) {
    if (!(largest > 0) || maxTicks < 1) return {0};
    const double raw = largest / maxTicks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * power;
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw * (1 - 1e-9)) {
            step = m * power;
            break;
        }
    std::vector<double> ticks;
    for (int i = 0; i * step <= largest * (1 + 1e-9); ++i) ticks.push_back(i * step);
    return ticks;
}

CostBarCell::CostBarCell(QWidget* parent) : QWidget(parent), bar_(new QFrame(this)) {
    bar_->setFrameShape(QFrame::Box);
    bar_->setAutoFillBackground(true);
    bar_->hide();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

int CostBarCell::fullWidth() const { return fullWidthOf(width()); }

void CostBarCell::setShare(double share) {
    share_ = std::clamp(share, 0.0, 1.0);
    placeBar();
}

QSize CostBarCell::sizeHint() const { return {160, fontMetrics().height()}; }

QSize CostBarCell::minimumSizeHint() const { return {60, fontMetrics().height()}; }

void CostBarCell::resizeEvent(QResizeEvent*) { placeBar(); }

void CostBarCell::placeBar() {
    const int h = std::min(height(), std::max(6, fontMetrics().height() * 4 / 5));
    // Halves to the even one, as the bar widths have always been rounded.
    bar_->setGeometry(0, (height() - h) / 2, int(std::nearbyint(share_ * fullWidth())), h);
}

CostAxis::CostAxis(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CostAxis::setLargest(double largest) {
    largest_ = largest;
    update();
}

int CostAxis::fullWidth() const { return fullWidthOf(width()); }

std::vector<double> CostAxis::ticks() const {
    if (!(largest_ > 0)) return {};
    // As many ticks as leave their labels a space apart.
    const QFontMetrics fm = fontMetrics();
    const int gap = fm.horizontalAdvance(QStringLiteral("  "));
    for (int wanted = 10; wanted > 1; --wanted) {
        const std::vector<double> candidate = axisTicks(largest_, wanted);
        int room = 0;
        for (double t : candidate) room += fm.horizontalAdvance(shortDollars(t)) + gap;
        if (room <= fullWidth()) return candidate;
    }
    return axisTicks(largest_, 1);
}

std::vector<double> CostAxis::tickShares() const {
    std::vector<double> shares;
    for (double t : ticks()) shares.push_back(t / largest_);
    return shares;
}

QStringList CostAxis::tickTexts() const {
    QStringList texts;
    for (double t : ticks()) texts << shortDollars(t);
    return texts;
}

QSize CostAxis::sizeHint() const { return {160, kTickLength + 2 * fontMetrics().height() + 2}; }

QSize CostAxis::minimumSizeHint() const {
    return {std::max(60, fontMetrics().horizontalAdvance(kAxisTitle)), sizeHint().height()};
}

void CostAxis::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    p.setPen(kAxisColor);
    const int full = fullWidth();
    if (largest_ > 0) {
        p.drawLine(0, 0, full, 0);
        const std::vector<double> shares = tickShares();
        const QStringList texts = tickTexts();
        for (size_t i = 0; i < shares.size(); ++i) {
            const int x = int(std::lround(shares[i] * full));
            p.drawLine(x, 0, x, kTickLength);
            const QString& text = texts[qsizetype(i)];
            const int w = fm.horizontalAdvance(text);
            const int left = std::clamp(x - w / 2, 0, std::max(0, width() - w));
            p.drawText(QRect(left, kTickLength + 1, w, fm.height()), Qt::AlignCenter, text);
        }
    }
    p.drawText(QRect(0, kTickLength + 1 + fm.height(), width(), fm.height()),
               Qt::AlignLeft | Qt::AlignVCenter, kAxisTitle);
}

void CostChartPage::setChart(const CostBarCell* firstRow, const CostAxis* axis) {
    firstRow_ = firstRow;
    axis_ = axis;
}

void CostChartPage::paintEvent(QPaintEvent*) {
    if (!firstRow_ || !axis_) return;
    QPainter p(this);
    p.setPen(QPen(kAxisColor, 1));
    const int x = firstRow_->geometry().left();
    p.drawLine(x, firstRow_->geometry().top(), x, axis_->geometry().top() + kTickLength);
}

QString colourKeyText(const std::vector<std::pair<QColor, QString>>& types) {
    if (types.empty()) return {};
    QStringList items;
    for (const auto& [colour, name] : types)
        items << QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                     .arg(colour.name(), name.toHtmlEscaped().replace(' ', "&nbsp;"));
    return QStringLiteral("System types: ") + items.join(QStringLiteral(" &nbsp; "));
}

}  // namespace model
