#include "model/conversions.h"

#include <QLocale>
#include <cmath>

namespace model {

std::optional<float> ReadNumber(const QString& text) {
    bool ok = false;
    const float value = QLocale().toFloat(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

}  // namespace model
