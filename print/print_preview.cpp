#include "print/print_preview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace print {
namespace {

PrintPreview& replacement() {
    static PrintPreview p;
    return p;
}

}  // namespace

bool previewAndPrint(QPrinter& printer, QWidget* parent, const PagePainter& paint) {
    if (replacement()) return replacement()(printer, parent, paint);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    return dialog.exec() == QDialog::Accepted;
}

void setPrintPreview(PrintPreview preview) { replacement() = std::move(preview); }

}  // namespace print
