#include "query/progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>

#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "shell/frmMain.h"

namespace md_query_functions2 {

namespace {

void show(frmMain& f, const QString& text) {
    if (f.lblWorking->text() != text) f.lblWorking->setText(text);
    f.lblWorking->repaint();
}

}  // namespace

void WindowFeedback::caption(const QString& text, bool paintNow) {
    static QElapsedTimer sincePaint;
    if (paintNow || !sincePaint.isValid() || sincePaint.elapsed() >= 40) {
        show(f_, text);
        heldBack_.clear();
        sincePaint.restart();
    } else {
        heldBack_ = text;
    }
}

void WindowFeedback::flushCaption() {
    if (heldBack_.isEmpty()) return;
    show(f_, heldBack_);
    heldBack_.clear();
}

void WindowFeedback::yield() {
    static QElapsedTimer sinceYield;
    if (sinceYield.isValid() && sinceYield.elapsed() < 5) return;
    QCoreApplication::processEvents();
    sinceYield.restart();
}

void WindowFeedback::layersChanged() {
    f_.Map1->refresh();
    f_.repaint();
}

bool WindowFeedback::confirm(const QString& question) {
    return feedback::dialogs().messageBox(question, feedback::mbYesNo) == feedback::answerYes;
}

void WindowFeedback::inform(const QString& text) { feedback::dialogs().messageBox(text); }

void WindowFeedback::failure(const QString& text) { md_functions::ErrorMessage(text, 48); }

}  // namespace md_query_functions2
