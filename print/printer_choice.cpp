#include "print/printer_choice.h"

#include <QPrintDialog>
#include <QPrinter>

namespace print {
namespace {

PrinterChooser& chooser() {
    static PrinterChooser c;
    return c;
}

}  // namespace

bool choosePrinter(QPrinter& printer, QWidget* parent) {
    if (chooser()) return chooser()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void setPrinterChooser(PrinterChooser c) { chooser() = std::move(c); }

}  // namespace print
