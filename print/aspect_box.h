#pragma once
// A box that keeps its one widget at a fixed shape, as large as fits and centred, whatever room
// the window gives the box.

#include <QWidget>

namespace print {

class AspectBox : public QWidget {
  public:
    // Takes the child; aspect is its width over its height.
    AspectBox(QWidget* child, double aspect, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent*) override;

  private:
    QWidget* child_;
    double aspect_;
};

}  // namespace print
