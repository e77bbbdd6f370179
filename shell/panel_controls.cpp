#include "shell/panel_controls.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionComboBox>

namespace shell {

QSize NumberBox::sizeHint() const {
    // The line edit's own hint is room for 17 characters; a distance needs about 7.
    const QSize hint = QLineEdit::sizeHint();
    return {hint.width() - 10 * fontMetrics().horizontalAdvance(QLatin1Char('x')), hint.height()};
}

FittedList::FittedList(int rows, QWidget* parent) : QListWidget(parent), rows_(rows) {
    // Entries come and go at every query choice; the layout then makes room for the new ones.
    const auto refit = [this] { updateGeometry(); };
    connect(model(), &QAbstractItemModel::rowsInserted, this, refit);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, refit);
    connect(model(), &QAbstractItemModel::modelReset, this, refit);
}

QSize FittedList::sizeHint() const { return minimumSizeHint(); }

QSize FittedList::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    const int row = count() > 0 ? sizeHintForRow(0) : fontMetrics().height() + 2;
    // Room for the vertical scroll bar is kept, so a long list never hides text behind it.
    const int width = std::max(sizeHintForColumn(0), 8 * fontMetrics().averageCharWidth()) +
                      verticalScrollBar()->sizeHint().width() + frame;
    return {width, rows_ * row + frame};
}

CatalogueBox::CatalogueBox(QStringList catalogue, QWidget* parent)
    : QComboBox(parent), catalogue_(std::move(catalogue)) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // A text cut short in the box is whole in its tooltip and in the open list.
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        setToolTip(text);
        view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
    });
}

QSize CatalogueBox::sizeHint() const {
    int widest = 0;
    for (const QString& text : catalogue_)
        widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)));
    // No wider than a usual panel: the map keeps the larger share of a small window.
    widest = std::min(widest, kWidestChars * fontMetrics().averageCharWidth());
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize contents(widest, std::max(fontMetrics().height(), 14) + 2);
    return style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this)
        .expandedTo(QComboBox::sizeHint());
}

QSize CatalogueBox::minimumSizeHint() const { return sizeHint(); }

void CatalogueBox::paintEvent(QPaintEvent* e) {
    // The program fills the box with its signals blocked; the tooltip follows what is shown.
    if (toolTip() != currentText()) setToolTip(currentText());
    QComboBox::paintEvent(e);
}

QAbstractButton* CheckBoxCaption::box() const {
    auto* box = qobject_cast<QAbstractButton*>(buddy());
    return box && box->isEnabled() ? box : nullptr;
}

// The press is taken here, so the release that toggles comes here too.
void CheckBoxCaption::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && box()) {
        e->accept();
        return;
    }
    QLabel::mousePressEvent(e);
}

void CheckBoxCaption::mouseReleaseEvent(QMouseEvent* e) {
    QAbstractButton* target = box();
    if (e->button() == Qt::LeftButton && target && rect().contains(e->pos())) {
        target->setFocus(Qt::MouseFocusReason);
        target->click();
        e->accept();
        return;
    }
    QLabel::mouseReleaseEvent(e);
}

}  // namespace shell
