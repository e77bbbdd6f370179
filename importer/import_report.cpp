#include "importer/import_report.h"

namespace importer {

void ImportReport::section(const QString& title) {
    if (!lines_.isEmpty()) lines_ << QString();
    lines_ << title << QString(title.size(), '-');
}

void ImportReport::line(const QString& text) { lines_ << text; }

void ImportReport::warn(const QString& text) {
    warnings_ << text;
    lines_ << "WARNING: " + text;
}

QString ImportReport::text() const {
    QStringList out = lines_;
    out << QString() << "Warnings"
        << "--------";
    if (warnings_.isEmpty()) out << "none";
    for (const QString& w : warnings_) out << "- " + w;
    return out.join('\n') + '\n';
}

QString reportNumber(double v) { return QString::number(v, 'g', 6); }

}  // namespace importer
