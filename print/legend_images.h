#pragma once
// Where the print window keeps its legend images.

#include <QCoreApplication>
#include <QString>

namespace engine {
class Legend;
}

namespace print {

// Writes the legend as an image named fileName in programDirectory; when that directory
// cannot be written (an installed program), in the user's cache directory instead. Returns
// the path written; empty when neither could be written.
QString saveLegendImage(const engine::Legend& legend, const QString& fileName,
                        const QString& programDirectory = QCoreApplication::applicationDirPath());

}  // namespace print
