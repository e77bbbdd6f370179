// Helpers for the Zorvel tests: templates as JSON, temporary folders, small projects.
#pragma once

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "zorvel/model.h"
#include "zorvel/project.h"

namespace ztest {

using json = nlohmann::ordered_json;

inline std::filesystem::path templateDir() { return ZORVEL_TEMPLATE_DIR; }

inline json loadTemplate(const std::string& name) {
    std::ifstream in(templateDir() / name);
    std::stringstream s;
    s << in.rdbuf();
    return json::parse(s.str());
}

inline json smallTemplate() { return loadTemplate("Small_village_Pallix.zvx"); }

// The small village with a flat load of `kw`, without day-to-day or hour-to-hour variability.
inline json flatLoadTemplate(double kw) {
    json j = smallTemplate();
    const std::vector<double> flat(24, 1.0);
    j["load"]["shape"]["weekday"] = flat;
    j["load"]["shape"]["weekend"] = flat;
    j["load"]["average_kwh_per_day"] = kw * 24;
    j["load"]["day_to_day_variability_percent"] = 0;
    j["load"]["hour_to_hour_variability_percent"] = 0;
    return j;
}

// A fresh folder under the system's temporary folder, removed with the object.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        static int counter = 0;
        path = std::filesystem::temp_directory_path() /
               ("zorvel_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

inline std::filesystem::path writeJson(const TempDir& dir, const std::string& name, const json& j) {
    auto p = dir / name;
    std::ofstream out(p);
    out << j.dump(2);
    return p;
}

// Replaces the search space of a template.
inline void setSpace(json& j, std::vector<double> pv, std::vector<int> wind,
                     std::vector<double> diesel, std::vector<int> batteries,
                     std::vector<double> converter) {
    j["components"]["pv"]["sizes_kw"] = pv;
    j["components"]["wind_turbine"]["counts"] = wind;
    j["components"]["diesel"]["sizes_kw"] = diesel;
    j["components"]["battery"]["counts"] = batteries;
    j["components"]["converter"]["sizes_kw"] = converter;
}

inline void setSite(json& j, std::vector<double> solar, std::vector<double> wind,
                    double latitude = 12.0) {
    j["solar"]["latitude"] = latitude;
    j["solar"]["monthly_kwh_per_m2_day"] = solar;
    j["wind"]["monthly_speeds_m_per_s"] = wind;
    j["site"]["latitude"] = latitude;
}

inline const std::vector<double> kSunny{6.2, 6.6, 6.9, 7.0, 6.8, 6.5, 6.3, 6.4, 6.6, 6.5, 6.2, 6.0};
inline const std::vector<double> kWindy{8.5, 8.8, 8.6, 8.0, 7.6, 7.4, 7.8, 7.7, 7.2, 7.5, 8.0, 8.3};
inline const std::vector<double> kPoorSun{1.4, 2.2, 3.1, 3.8, 4.3, 4.6,
                                          4.5, 3.9, 3.1, 2.2, 1.5, 1.1};
inline const std::vector<double> kCalm{3.0, 3.1, 3.0, 2.8, 2.6, 2.4, 2.3, 2.3, 2.5, 2.7, 2.9, 3.0};

// The description of the zorvel::Error that f throws ("" when it throws none).
template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const zorvel::Error& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("wrong exception type: ") + e.what();
    }
    return "";
}

inline zorvel::ProjectData parse(const json& j) {
    return zorvel::parseProject(j.dump(), "test.zvx");
}

}  // namespace ztest
