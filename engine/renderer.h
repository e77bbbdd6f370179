#pragma once
// Renderers draw each feature of a layer by the value of one attribute field.

#include <QString>
#include <QStringList>
#include <vector>

#include "engine/symbol.h"

namespace engine {

class Renderer {
public:
    virtual ~Renderer() = default;
    QString field;
};

// Class breaks: BreakCount breaks in ascending order, BreakCount + 1 symbols.
// A value equal to a break belongs to the class above it.
class ClassBreaksRenderer : public Renderer {
public:
    int breakCount() const { return int(breaks_.size()); }
    void setBreakCount(int n);  // keeps BreakCount + 1 symbols
    double breakValue(int i) const { return breaks_.at(i); }
    void setBreak(int i, double v) { breaks_.at(i) = v; }
    Symbol& symbol(int i) { return symbols_.at(i); }
    const Symbol& symbol(int i) const { return symbols_.at(i); }
    int classOf(double value) const;
    int symbolType = -1;

private:
    std::vector<double> breaks_;
    std::vector<Symbol> symbols_{Symbol{}};
};

// Unique values: one symbol per attribute text; other texts use the default symbol.
class ValueMapRenderer : public Renderer {
public:
    int valueCount() const { return int(values_.size()); }
    void setValueCount(int n);
    QString value(int i) const { return values_.at(i); }
    void setValue(int i, const QString& v) { values_[i] = v; }
    Symbol& symbol(int i) { return symbols_.at(i); }
    const Symbol& symbol(int i) const { return symbols_.at(i); }
    int indexOf(const QString& value) const;  // -1 when not a listed value
    Symbol defaultSymbol;

private:
    QStringList values_;
    std::vector<Symbol> symbols_;
};

// Writes the field's text at each feature, with symbol(0)'s font and colour (black unless set).
class LabelRenderer : public Renderer {
public:
    Symbol& symbol(int i) { return symbols_.at(i); }
    const Symbol& symbol(int i) const { return symbols_.at(i); }
    bool allowDuplicates = false;

private:
    std::vector<Symbol> symbols_{[] {
        Symbol s;
        s.color = rgb(0, 0, 0);
        return s;
    }()};
};

}  // namespace engine
