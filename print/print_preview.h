#pragma once
// How the print window prints its page: first a print preview of it, whose Print button asks for
// the printer and prints; or (in tests and tools) a function in its place that prints without
// asking, e.g. to a PDF file.

#include <functional>

class QPrinter;
class QWidget;

namespace print {

// Draws the page on the printer.
using PagePainter = std::function<void(QPrinter& printer)>;
// Shows the page drawn by paint and prints it when the user asks; false when the user closed
// the preview without printing.
using PrintPreview =
    std::function<bool(QPrinter& printer, QWidget* parent, const PagePainter& paint)>;

bool previewAndPrint(QPrinter& printer, QWidget* parent, const PagePainter& paint);
// Replaces the print preview; an empty function restores it.
void setPrintPreview(PrintPreview preview);

}  // namespace print
