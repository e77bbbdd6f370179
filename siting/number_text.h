#pragma once
// Reading numbers typed into the panel and writing numbers into captions and expressions.

#include <QString>

namespace md_query_functions2 {

// Whether text is a number (optional sign, digits, decimal point, exponent, surrounding
// blanks); value receives it. An empty text is not a number.
bool isNumber(const QString& text, double* value = nullptr);
// The number converted as a single-precision value, as the distance checks do.
bool isSingle(const QString& text, float* value = nullptr);
// Shortest plain form: 300, 5.5, 10000.
QString plainNumber(double v);
QString plainNumber(float v);
// part / whole as a percentage with one decimal: "12.3%".
QString percentText(double part, double whole);

}  // namespace md_query_functions2
