#pragma once
// The program's own pictures, drawn rather than loaded: a landscape with wind turbines under a
// low sun, used on the splash window and as the start-up picture of the main window.

#include <QWidget>

class QPainter;

namespace shell {

// Paints the landscape into rect, with title (if any) across the sky.
void paintLandscape(QPainter& painter, const QRectF& rect, const QString& title);

class LandscapePicture : public QWidget {
    Q_OBJECT
  public:
    explicit LandscapePicture(const QString& title, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

  private:
    QString title_;
};

}  // namespace shell
