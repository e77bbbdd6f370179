#include "siting/input_validation.h"

#include "siting/number_text.h"

namespace md_functions {

namespace {

using md_query_functions2::isNumber;
using md_query_functions2::isSingle;
using siting::Parameter;

bool distanceOutOfRange(float d) {
    return d < siting::kMinDistanceKm || d > siting::kMaxDistanceKm;
}

}  // namespace

InputCheck CheckInputs(const siting::QueryDescriptor& query, const siting::ParameterInput& input) {
    InputCheck check;
    siting::QueryParameters p;
    auto fault = [&](const QString& message, std::optional<Parameter> focus = std::nullopt) {
        check.fault = message;
        check.focus = focus;
        return check;
    };
    for (const siting::ParameterSpec& spec : query.parameters) {
        switch (spec.kind) {
            case Parameter::SolarRange: {
                double& lo = p.minimum;
                double& hi = p.maximum;
                if (!isNumber(input.minimum, &lo))
                    return fault("Please enter a numeric value for Min. Solar Resource");
                if (!isNumber(input.maximum, &hi))
                    return fault("Please enter a numeric value for Max. Solar Resourcey");
                if (!(hi > lo)) return fault("Max. Solar Resource should be > Min. Solar Resource");
                if (lo > siting::kMaxSolarResource || lo < 0)
                    return fault("Min. Solar Resource should be >= 0 and <= 10");
                if (hi > siting::kMaxSolarResource || hi < 0)
                    return fault("Max. Solar Resource should be >= 0 and <= 10");
                break;
            }
            case Parameter::WindRange: {
                double& lo = p.minimum;
                double& hi = p.maximum;
                if (!isNumber(input.minimum, &lo))
                    return fault("Please enter a numeric value for Min. Wind Power Density");
                if (input.maximum.trimmed() == "Max")
                    hi = siting::kMaxWindDensity;
                else if (!isNumber(input.maximum, &hi))
                    return fault("Please enter a numeric value for Max. Wind Power Density");
                if (!(hi > lo))
                    return fault("Max. Wind Power Density should be > Min. Wind Power Density");
                if (lo > siting::kMaxWindDensity || lo < 0)
                    return fault(QStringLiteral("Min. Wind Power Density should be >= 0 and ") +
                                 "10000");
                if (hi < 0 || hi > siting::kMaxWindDensity)
                    return fault(QStringLiteral("Max. Wind Power Density should be >= 0 and ") +
                                 "10000");
                break;
            }
            case Parameter::RoadsKm:
            case Parameter::TransmissionKm: {
                const bool roads = spec.kind == Parameter::RoadsKm;
                float& d = roads ? p.roadsKm : p.transmissionKm;
                std::optional<Parameter> focus;
                if (spec.focusOnFault) focus = spec.kind;
                if (!isSingle(roads ? input.roadsKm : input.transmissionKm, &d))
                    return fault("Please enter a number for proximity value.", focus);
                if (distanceOutOfRange(d)) return fault(spec.rangeFault, focus);
                break;
            }
            case Parameter::LandUses:
                if (input.landUses.isEmpty()) return fault("Please select a land use.");
                p.landUses = input.landUses;
                break;
            case Parameter::RemoveProtected:
                p.removeProtected = input.removeProtected;
                break;
            case Parameter::SolarResource:
                p.solarResource = input.solarResource;
                break;
        }
    }
    check.parameters = p;
    return check;
}

}  // namespace md_functions
