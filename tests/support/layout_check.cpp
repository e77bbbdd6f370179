#include "tests/support/layout_check.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextDocument>

namespace testsupport {

namespace {

// Small slack for rounding in styles; a pixel or two of a glyph's bearing is not clipping.
constexpr int slack = 2;

QString describe(const QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
    else if (auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
    else if (auto* box = qobject_cast<const QGroupBox*>(w)) text = box->title();
    else if (auto* combo = qobject_cast<const QComboBox*>(w)) text = combo->currentText();
    QString name = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
    if (!text.isEmpty()) name += " \"" + text.left(40) + '"';
    return name;
}

QString plain(QString text) {
    text.remove('&');  // mnemonics are not drawn
    return text;
}

int textWidth(const QWidget* w, const QString& text) {
    int widest = 0;
    for (const QString& line : plain(text).split('\n'))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

int textHeight(const QWidget* w, const QString& text) {
    return w->fontMetrics().lineSpacing() * int(text.count('\n') + 1);
}

// The room a control's text has, and the text, for the kinds of control that show one.
void checkText(const QWidget* w, QStringList& problems) {
    auto report = [&](const QString& what) { problems << describe(w) + ": " + what; };
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        const QString text = label->text();
        if (text.isEmpty() || !label->pixmap().isNull()) return;
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                          -label->margin(), -label->margin());
        if (Qt::mightBeRichText(text) && label->textFormat() != Qt::PlainText) {
            if (label->heightForWidth(label->width()) > label->height() + slack)
                report("rich text taller than the label");
            return;
        }
        if (label->wordWrap()) {
            if (label->heightForWidth(label->width()) > label->height() + slack)
                report("wrapped text taller than the label");
            return;
        }
        if (textWidth(w, text) > room.width() + slack) report("text wider than the label");
        if (textHeight(w, text) > room.height() + slack) report("text taller than the label");
    } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty()) return;
        int need = textWidth(w, button->text());
        if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            const bool check = qobject_cast<const QCheckBox*>(w) != nullptr;
            need += w->style()->pixelMetric(check ? QStyle::PM_IndicatorWidth
                                                  : QStyle::PM_ExclusiveIndicatorWidth,
                                            nullptr, w) +
                    w->style()->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing
                                                  : QStyle::PM_RadioButtonLabelSpacing,
                                            nullptr, w);
        } else if (!button->icon().isNull()) {
            need += button->iconSize().width();
        }
        if (need > button->width() + slack) report("text wider than the button");
        if (textHeight(w, button->text()) > button->height() + slack)
            report("text taller than the button");
    } else if (auto* box = qobject_cast<const QGroupBox*>(w)) {
        if (!box->title().isEmpty() && textWidth(w, box->title()) > box->width() + slack)
            report("title wider than the frame");
    } else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        // A drop-down whose tooltip holds its whole entry may cut it short.
        if (textWidth(w, combo->currentText()) > field.width() + slack &&
            combo->toolTip() != combo->currentText())
            report("current entry wider than the drop-down");
        if (w->fontMetrics().height() > field.height() + slack)
            report("text taller than the drop-down");
    } else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
        if (edit->fontMetrics().height() > edit->contentsRect().height() + slack)
            report("text taller than the text box");
    }
    if (auto* list = qobject_cast<const QListWidget*>(w);
        list && list->horizontalScrollBar()->isVisible())
        report("list needs a horizontal scroll bar");
    if (w->font().pixelSize() > 0 && w->testAttribute(Qt::WA_SetFont))
        report("font pinned to " + QString::number(w->font().pixelSize()) + " px");
}

bool isPrivate(const QWidget* w) { return w->objectName().startsWith("qt_"); }

QList<const QWidget*> visibleChildren(const QWidget* parent) {
    QList<const QWidget*> children;
    for (const QObject* object : parent->children()) {
        auto* child = qobject_cast<const QWidget*>(object);
        if (child && !child->isWindow() && child->isVisible() && !isPrivate(child))
            children << child;
    }
    return children;
}

void check(const QWidget* w, QStringList& problems) {
    checkText(w, problems);
    // A scroll area's viewport may hold content larger than itself: that is what it scrolls.
    const auto* area = qobject_cast<const QAbstractScrollArea*>(w->parentWidget());
    const bool scrolled = area && area->viewport() == w;
    const QList<const QWidget*> children = visibleChildren(w);
    for (int i = 0; i < children.size(); ++i) {
        const QRect a = children[i]->geometry();
        if (!scrolled && !w->rect().adjusted(-slack, -slack, slack, slack).contains(a))
            problems << describe(children[i]) + ": reaches outside " + describe(w);
        for (int j = i + 1; j < children.size(); ++j) {
            const QRect overlap = a.intersected(children[j]->geometry());
            if (overlap.width() > slack && overlap.height() > slack)
                problems << describe(children[i]) + ": overlaps " + describe(children[j]);
        }
        check(children[i], problems);
    }
}

}  // namespace

QStringList layoutProblems(const QWidget* root) {
    QStringList problems;
    if (root->isVisible()) check(root, problems);
    return problems;
}

ScopedFontScale::ScopedFontScale(double factor) : oldPointSize_(QApplication::font().pointSizeF()) {
    QFont font = QApplication::font();
    font.setPointSizeF(oldPointSize_ * factor);
    QApplication::setFont(font);
}

ScopedFontScale::~ScopedFontScale() {
    QFont font = QApplication::font();
    font.setPointSizeF(oldPointSize_);
    QApplication::setFont(font);
}

}  // namespace testsupport
