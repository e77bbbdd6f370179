#pragma once
// The import report, import-report.txt in the dataset folder: sources, coordinate system, cell
// sizes, what was written with counts and value ranges, and every warning.

#include <QString>
#include <QStringList>

namespace importer {

class ImportReport {
  public:
    void section(const QString& title);
    void line(const QString& text);
    void warn(const QString& text);

    const QStringList& warnings() const { return warnings_; }
    QString text() const;

  private:
    QStringList lines_;
    QStringList warnings_;
};

// "12.5" for a value range in the report: up to six significant digits.
QString reportNumber(double v);

}  // namespace importer
