#pragma once
// Controls of the query parameter panel that a plain Qt control does not give: a number box and
// a list that size themselves to what they hold in the current font (so the layout makes room
// for their text at any font size), a drop-down as wide as anything it may ever hold, and a
// caption that a click ticks its check box through.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace shell {

// The rows of the parameter panel's grid. Each query uses the rows it needs, top to bottom in
// this order; empty rows take no room. Number boxes stand left of their captions, drop-downs
// right of theirs.
enum PanelRow {
    kPanelMinRow,
    kPanelMaxRow,
    kPanelFirstDistanceRow,
    kPanelSecondDistanceRow,
    kPanelProtectedRow,
    kPanelListCaptionRow,
    kPanelListRow,
    kPanelEndRow
};
enum PanelColumn { kPanelBoxColumn, kPanelCaptionColumn, kPanelDropDownColumn, kPanelColumns };

// A text box for a short number, such as a distance in km.
class NumberBox : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;
    QSize sizeHint() const override;
};

// A list as wide as its longest entry (no horizontal scroll bar) and at least `rows` rows tall.
class FittedList : public QListWidget {
    Q_OBJECT
  public:
    explicit FittedList(int rows, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  private:
    int rows_;
};

// A drop-down as wide as the widest of the texts it may be given (up to kWidestChars characters),
// whatever it holds now, so the panel around it keeps its width from one query to the next.
class CatalogueBox : public QComboBox {
    Q_OBJECT
  public:
    explicit CatalogueBox(QStringList catalogue, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    static constexpr int kWidestChars = 36;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QStringList catalogue_;
};

// A label that, like a check box's own text, toggles its buddy check box when clicked.
class CheckBoxCaption : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QAbstractButton* box() const;  // the buddy when it is an enabled check box
};

}  // namespace shell
