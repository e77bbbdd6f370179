#pragma once
// The applications the user can model: village sizes, each with its own template project.

#include <QString>
#include <array>

namespace model {

struct Application {
    QString listText;
    QString templateFile;  // in the documents folder; "NA" for the prompt entry
    QString description;
    QString unservedEnergyDefault;  // percent, as shown in the reliability box
};

// In list order; entry 0 is the prompt.
extern const std::array<Application, 4> kApplications;

}  // namespace model
