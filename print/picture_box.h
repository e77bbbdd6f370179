#pragma once
// A picture shown as large as its box allows, never larger than itself, at the box's top left
// and keeping its shape; the box may be smaller than the picture.

#include <QLabel>

namespace print {

class PictureBox : public QLabel {
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace print
