#pragma once
// Renderers draw each feature of a layer by the value of one attribute field.

#include <QString>
#include <QStringList>
#include <vector>

#include "engine/symbol.h"

namespace engine {

class GeoDataset;
class LabelPlacement;
struct MapView;

// One swatch of a layer's legend: its text (empty for a single swatch) and symbol.
struct LegendEntry {
    QString text;
    const Symbol* symbol;
};

// Without a renderer of its own kind a layer draws every feature with its own symbol.
class Renderer {
public:
    virtual ~Renderer() = default;
    QString field;

    // Appends the symbols it draws with to palette and sets each record's index into it, by the
    // record's value of field.
    virtual void chooseSymbols(const GeoDataset& ds, const std::vector<int>& records,
                               const Symbol& layerSymbol, std::vector<const Symbol*>& palette,
                               std::vector<int>& symbolOf) const;
    // The kind every symbol is drawn as; -1: as the layer's shapes are.
    virtual int symbolKind() const { return -1; }
    // Whether every feature is drawn with the layer's own symbol.
    virtual bool usesLayerSymbol() const { return true; }
    virtual std::vector<LegendEntry> legendEntries(const Symbol& layerSymbol) const;
    // Gathers the texts it writes, for placing once every layer is drawn.
    virtual void addLabels(LabelPlacement&, const GeoDataset&, const std::vector<int>&,
                           const MapView&) const {}
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

    void chooseSymbols(const GeoDataset& ds, const std::vector<int>& records, const Symbol&,
                       std::vector<const Symbol*>& palette,
                       std::vector<int>& symbolOf) const override;
    int symbolKind() const override { return symbolType; }
    bool usesLayerSymbol() const override { return false; }
    // "< b0", "b0 - b1", ..., ">= bn".
    std::vector<LegendEntry> legendEntries(const Symbol&) const override;

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

    bool usesLayerSymbol() const override { return false; }
    // Texts not listed take defaultSymbol, the last of the palette.
    void chooseSymbols(const GeoDataset& ds, const std::vector<int>& records, const Symbol&,
                       std::vector<const Symbol*>& palette,
                       std::vector<int>& symbolOf) const override;
    std::vector<LegendEntry> legendEntries(const Symbol&) const override;

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

    // Each record's text at its label point, once per text unless allowDuplicates.
    void addLabels(LabelPlacement& labels, const GeoDataset& ds, const std::vector<int>& records,
                   const MapView& v) const override;

private:
    std::vector<Symbol> symbols_{[] {
        Symbol s;
        s.color = rgb(0, 0, 0);
        return s;
    }()};
};

}  // namespace engine
