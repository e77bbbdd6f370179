#pragma once
// How the print window gets its printer: the print dialog, or (in tests and tools) a chooser
// that sets up the printer without asking, e.g. a PDF file.

#include <functional>

class QPrinter;
class QWidget;

namespace print {

// Sets up the printer; false when the user cancelled.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;

bool choosePrinter(QPrinter& printer, QWidget* parent);
// Replaces the print dialog; an empty chooser restores it.
void setPrinterChooser(PrinterChooser chooser);

}  // namespace print
