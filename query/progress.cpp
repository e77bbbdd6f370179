#include "query/progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>

#include "shell/frmMain.h"

namespace md_query_functions2 {

namespace {

QString heldBack;

void show(frmMain& f, const QString& text) {
    if (f.lblWorking->text() != text) f.lblWorking->setText(text);
    f.lblWorking->repaint();
}

}  // namespace

void SetCaption(frmMain& f, const QString& text, bool paintNow) {
    static QElapsedTimer sincePaint;
    if (paintNow || !sincePaint.isValid() || sincePaint.elapsed() >= 40) {
        show(f, text);
        heldBack.clear();
        sincePaint.restart();
    } else {
        heldBack = text;
    }
}

void FlushCaption(frmMain& f) {
    if (heldBack.isEmpty()) return;
    show(f, heldBack);
    heldBack.clear();
}

void YieldEvents() {
    static QElapsedTimer sinceYield;
    if (sinceYield.isValid() && sinceYield.elapsed() < 5) return;
    QCoreApplication::processEvents();
    sinceYield.restart();
}

}  // namespace md_query_functions2
