#include "model/applications.h"

namespace model {

const std::array<Application, 4> kApplications = {{
    {"-- Please choose one --", "NA",
     "Please choose an application from the drop down box above.", "1"},
    {"Small Village", "Small_village_Pallix.zvx",
     "A small village has an annual average consumption of about 5 kWh/day and consists of about "
     "10 small houses. The village consists of residences only. The houses are connected to a "
     "central system via a micro-grid that requires about 200 m of wire.",
     "5"},
    {"Medium Village", "Medium_village_Pallix.zvx",
     "A medium village consumes an annual average of about 50 kWh/day. It consists of "
     "small, medium, and large houses and one store. The micro-grid requires about 3 km of wire.",
     "1"},
    {"Large Village", "Large_village_Pallix.zvx",
     "A large village consumes an annual average of 500 kWh/day, and consists of small, medium, "
     "and large houses, two stores, and a primary school. The distribution system requires about "
     "20 km of wire.",
     "0"},
}};

}  // namespace model
