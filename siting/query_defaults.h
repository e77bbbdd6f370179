#pragma once
// What the parameter panel offers for a query on the loaded layers, and what it holds before
// anything is typed; the headless runner starts from the same.

#include <QString>
#include <QStringList>

#include "siting/query_descriptors.h"
#include "siting/query_parameters.h"
#include "siting/study.h"

namespace siting {

// The values offered for a range and the positions shown at first (may lie outside the lists:
// then nothing is shown).
struct RangeChoices {
    QStringList minimums, maximums;
    int minimum = -1, maximum = -1;
};
// The class breaks of the wind layer; the maximums end with "Max". Throws when the wind layer
// has no class breaks.
RangeChoices WindRangeChoices(const Study& study);
// The breaks (to one decimal) of the first of the resources whose layer is loaded, or 2 to 9 in
// steps of 0.5 when there is none.
RangeChoices SolarRangeChoices(const Study& study, const QStringList& resources);
// The solar resources offered: the first four, the last two as well when a 15 or 16 layer is
// loaded.
QStringList OfferedSolarResources(const Study& study);
// The land uses of the land-use layer, each once, in the order first found.
QStringList LandUses(const Study& study);

// What a distance box holds before anything is typed.
inline const QString kStartDistance = QStringLiteral("5");

// What the panel holds when the query is chosen on a main window just opened.
ParameterInput DefaultInput(const Study& study, const QueryDescriptor& query);

}  // namespace siting
