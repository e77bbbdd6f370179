#pragma once
// What a query is given, typed: the parameter panel and the headless runner fill it in and
// validation checks it before a run.

#include <QString>
#include <QStringList>

namespace siting {

// The kinds of parameter a query can take, in the order the panel shows them.
enum class Parameter {
    WindRange,
    SolarRange,
    TransmissionKm,
    RoadsKm,
    LandUses,
    RemoveProtected,
    SolarResource
};

struct QueryParameters {
    double minimum = 0, maximum = 0;  // wind power density (W/m2) or solar resource (kWh/m2/day)
    float roadsKm = 0, transmissionKm = 0;
    QStringList landUses;  // the suitable land uses, in list order
    bool removeProtected = false;
    QString solarResource;  // a description of SolarResources()
};

// The parameters as typed: numbers as text, so that validation can name what is wrong.
struct ParameterInput {
    QString minimum, maximum;  // "Max" stands for 10000 in the wind queries
    QString roadsKm, transmissionKm;
    QStringList landUses;
    bool removeProtected = false;
    QString solarResource;
};

}  // namespace siting
