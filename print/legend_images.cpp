#include "print/legend_images.h"

#include <QDir>
#include <QStandardPaths>

#include "mapview/legend.h"

namespace print {

QString saveLegendImage(const engine::Legend& legend, const QString& fileName,
                        const QString& programDirectory) {
    const QString beside = QDir(programDirectory).filePath(fileName);
    if (legend.saveToBitmap(beside)) return beside;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache)) return {};
    const QString cached = QDir(cache).filePath(fileName);
    return legend.saveToBitmap(cached) ? cached : QString();
}

}  // namespace print
