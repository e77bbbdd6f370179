#include "query/results_export.h"

#include <QLocale>
#include <QSaveFile>
#include <QStringList>

namespace query {

namespace {

const QStringList kHeadings = {QStringLiteral("Class"), QStringLiteral("Color"),
                               QStringLiteral("Area (km²)"), QStringLiteral("Share of total (%)")};

QString csvField(QString field) {
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')))
        return field;
    return QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

}  // namespace

QString tabSeparated(const std::vector<ResultRow>& rows) {
    const QLocale locale;
    QString text = kHeadings.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const ResultRow& r : rows)
        text += QStringList{r.description, r.colour.name(), locale.toString(r.areaKm2, 'f', 2),
                            locale.toString(r.sharePercent, 'f', 1)}
                    .join(QLatin1Char('\t')) +
                QLatin1Char('\n');
    return text;
}

QString commaSeparated(const std::vector<ResultRow>& rows) {
    QStringList headings;
    for (const QString& h : kHeadings) headings << csvField(h);
    QString text = headings.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const ResultRow& r : rows)
        text +=
            QStringList{csvField(r.description), r.colour.name(),
                        QString::number(r.areaKm2, 'f', 2), QString::number(r.sharePercent, 'f', 1)}
                .join(QLatin1Char(',')) +
            QStringLiteral("\r\n");
    return text;
}

bool writeTextFile(const QString& path, const QString& text, QString* reason) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (reason) *reason = file.errorString();
        return false;
    }
    return true;
}

}  // namespace query
