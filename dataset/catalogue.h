#pragma once
// The layer catalogue: the accepted shapefile names and the limit on layers.

#include <QString>
#include <QStringList>

namespace md_functions {

// The number of layers the program is built for.
constexpr int MAX_LAYERS = 28;

// The 29 accepted file names, filled once by the main window's load.
QStringList& StandardFileNames();
void FillStandardFileNames();
// True when the lower-cased name equals a lower-cased accepted name.
bool StandardFile(const QString& fileName);

}  // namespace md_functions
