#pragma once
// Checking what was typed for a query and turning it into its typed parameters.

#include <QString>
#include <optional>

#include "siting/query_descriptors.h"
#include "siting/query_parameters.h"

namespace md_functions {

struct InputCheck {
    std::optional<siting::QueryParameters> parameters;  // set when the input is sound
    QString fault;                                      // otherwise the first fault
    std::optional<siting::Parameter> focus;             // the parameter to put the focus into
};

// Checks the input of each of the query's parameters in turn; the first fault wins.
InputCheck CheckInputs(const siting::QueryDescriptor& query, const siting::ParameterInput& input);

}  // namespace md_functions
