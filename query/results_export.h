#pragma once
// The rows of the results table as text: tab-separated for the clipboard, comma-separated for a
// file, and the file written whole or not at all.

#include <QColor>
#include <QString>
#include <vector>

namespace query {

struct ResultRow {
    QString description;  // the class as the table describes it
    QColor colour;        // the class colour on the map
    double areaKm2 = 0;
    double sharePercent = 0;
};

// Headings and rows, one line each, fields separated by tabs; numbers as the user writes them.
QString tabSeparated(const std::vector<ResultRow>& rows);
// Headings and rows, one line each, fields separated by commas and quoted where needed; numbers
// with a decimal point and no grouping, so any program reads them.
QString commaSeparated(const std::vector<ResultRow>& rows);
// Writes the text as UTF-8: a file that exists keeps its old content unless the new one is
// complete. False, with the reason, when it cannot be written.
bool writeTextFile(const QString& path, const QString& text, QString* reason);

}  // namespace query
