#pragma once
// The queries of the query list, one descriptor each: its name, the layers it needs, its
// parameters and its procedure. Adding a query means a descriptor here and its procedure.

#include <QString>
#include <QStringList>
#include <vector>

#include "siting/query_parameters.h"

namespace siting {

struct Run;

// One parameter of a query as the panel shows and validation checks it.
struct ParameterSpec {
    Parameter kind;
    QString caption;            // the distances' caption beside their box
    QString rangeFault;         // a distance out of its limits
    bool focusOnFault = false;  // a fault puts the focus into the parameter's box
    bool keepTyped = true;      // a number typed before stays when the query is chosen again
};

struct QueryDescriptor {
    QString name;                           // in the query list
    QStringList layers;                     // the files the query needs
    bool wind = false;                      // runs on the wind layer
    std::vector<ParameterSpec> parameters;  // in panel order, also the order of validation
    void (*procedure)(Run&) = nullptr;      // none: the base map
    bool has(Parameter kind) const;
    const ParameterSpec* parameter(Parameter kind) const;
};

// The queries in list order; the first is the base map.
const std::vector<QueryDescriptor>& Queries();
// The query of that name (trimmed, case-insensitive), or null.
const QueryDescriptor* FindQuery(const QString& name);
// The query names in list order.
const QStringList& QueryNames();
bool isWindQuery(const QString& name);

// The solar resource descriptions, with the layer file and annual field of each.
struct SolarResource {
    QString description, layerFile, fieldName;
};
const std::vector<SolarResource>& SolarResources();
const SolarResource* FindSolarResource(const QString& description);

// Limits of the parameters.
constexpr double kMaxWindDensity = 10000;  // also what "Max" stands for
constexpr double kMaxSolarResource = 10;
constexpr float kMinDistanceKm = 0.001f;
constexpr float kMaxDistanceKm = 25;
inline const QString kDefaultDistance = QStringLiteral("2");

}  // namespace siting
