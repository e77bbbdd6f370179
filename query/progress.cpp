#include "query/progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>

#include "shell/frmMain.h"

namespace md_query_functions2 {

void SetCaption(frmMain& f, const QString& text, bool paintNow) {
    static QElapsedTimer sincePaint;
    if (f.lblWorking->text() != text) f.lblWorking->setText(text);
    if (paintNow || !sincePaint.isValid() || sincePaint.elapsed() >= 40) {
        f.lblWorking->repaint();
        sincePaint.restart();
    }
}

void YieldEvents() { QCoreApplication::processEvents(); }

}  // namespace md_query_functions2
