#include "siting/number_text.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>

namespace md_query_functions2 {

bool isNumber(const QString& text, double* value) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    const QString t = text.trimmed();
    if (!pattern.match(t).hasMatch()) return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok && value) *value = v;
    return ok;
}

bool isSingle(const QString& text, float* value) {
    double v = 0;
    if (!isNumber(text, &v)) return false;
    if (value) *value = float(v);
    return true;
}

QString plainNumber(double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); }

QString plainNumber(float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

QString percentText(double part, double whole) {
    return QString::number(100.0 * part / whole, 'f', 1) + QLatin1Char('%');
}

}  // namespace md_query_functions2
