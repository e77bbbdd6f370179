#pragma once
// The bar chart of the model window's results table: each row's bar grows from one common
// baseline, an axis under the rows gives the scale in US dollars, and a key names the colour of
// each system type.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <utility>
#include <vector>

class QFrame;

namespace model {

// A cost in US dollars: "$" whatever the locale, the number in the user's format.
QString dollars(double amount, int decimals);
// The same, shortened for an axis: "$250k", "$1.5M".
QString shortDollars(double amount);
// Round values for the ticks of an axis from 0 to largest: 0 and multiples of one step of 1, 2
// or 5 times a power of ten, at most maxTicks after 0, none beyond largest.
std::vector<double> axisTicks(double largest, int maxTicks);

// One row's share of the chart: the row's bar, which it keeps at its share of the full width
// when the window is resized.
class CostBarCell : public QWidget {
  public:
    explicit CostBarCell(QWidget* parent = nullptr);
    QFrame* bar() const { return bar_; }
    // The width of a bar for the most expensive listed system.
    int fullWidth() const;
    // The bar's length as a share of the full width (its cost over the largest).
    void setShare(double share);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent*) override;

  private:
    void placeBar();
    QFrame* bar_;
    double share_ = 0;
};

// The scale under the bars: tick marks with their costs, and the axis title.
class CostAxis : public QWidget {
  public:
    explicit CostAxis(QWidget* parent = nullptr);
    // The cost at the full width; 0 shows the title only.
    void setLargest(double largest);
    // The ticks that fit the present width, as shares of the full width.
    std::vector<double> tickShares() const;
    // The costs written at the ticks, in order.
    QStringList tickTexts() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::vector<double> ticks() const;
    int fullWidth() const;
    double largest_ = 0;
};

// The results table: draws the common baseline of the bars behind them, from the first row down
// to the axis.
class CostChartPage : public QWidget {
  public:
    explicit CostChartPage(QWidget* parent = nullptr) : QWidget(parent) {}
    void setChart(const CostBarCell* firstRow, const CostAxis* axis);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    const CostBarCell* firstRow_ = nullptr;
    const CostAxis* axis_ = nullptr;
};

// Rich text for the colour key: a swatch and the name of each system type, in the order given.
QString colourKeyText(const std::vector<std::pair<QColor, QString>>& types);

}  // namespace model
