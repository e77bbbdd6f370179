// The site's air temperature: a template's annual mean moved to the site's elevation by the
// standard lapse rate, stated in the input summary; a project's own value as it is.
#include <gtest/gtest.h>

#include <numeric>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;
using ztest::json;

namespace {

double yearMean(const ProjectData& d) {
    auto ctx = buildContext(d);
    return std::accumulate(ctx->ambient.begin(), ctx->ambient.end(), 0.0) / ctx->ambient.size();
}

// Opens a project and moves it to a site at `elevation`, as the model link does.
void openAt(Project& p, const std::filesystem::path& file, float elevation) {
    p.OpenFile(file);
    WindResource w = *p.GetWindResource();
    w.SetAltitude(elevation);
    p.PutWindResource(w);
}

}  // namespace

TEST(SiteTemperature, TheTemplatesMeanIsMovedToTheSitesElevation) {
    const auto file = ztest::templateDir() / "Small_village_Pallix.zvx";
    Project sample;
    sample.OpenFile(file);
    EXPECT_EQ(siteAmbientTemperature(sample.impl().data.site), 27.0);  // its reference, 300 m

    Project high;
    openAt(high, file, 2344);
    const double expected = 27.0 - 0.0065 * (2344 - 300);  // 13.714 deg C
    EXPECT_DOUBLE_EQ(siteAmbientTemperature(high.impl().data.site), expected);
    EXPECT_NEAR(yearMean(high.impl().data), expected, 0.05);
    const std::string page = high.InputSummaryHtml();
    EXPECT_NE(page.find("<td>Annual mean ambient temperature</td><td align=\"right\">13.7 &deg;C"),
              std::string::npos);
    EXPECT_NE(page.find("the template's 27.0 &deg;C at 300 m, corrected to the site's 2,344 m by "
                        "6.5 K/km"),
              std::string::npos);
    // Below the reference it is warmer; the corrected site is saved with its reference.
    Project low;
    openAt(low, file, 0);
    EXPECT_NEAR(siteAmbientTemperature(low.impl().data.site), 28.95, 1e-9);
    ztest::TempDir dir;
    high.SaveFileAs(dir / "high.zvx");
    Project again;
    again.OpenFile(dir / "high.zvx");
    EXPECT_DOUBLE_EQ(siteAmbientTemperature(again.impl().data.site), expected);
}

TEST(SiteTemperature, AProjectsOwnValueWins) {
    ztest::TempDir dir;
    json own = ztest::smallTemplate();
    own["site"].erase("ambient_temperature_reference_elevation_m");
    own["site"]["ambient_temperature_c"] = 18.5;
    Project p;
    openAt(p, ztest::writeJson(dir, "own.zvx", own), 2344);
    EXPECT_EQ(siteAmbientTemperature(p.impl().data.site), 18.5);
    const std::string page = p.InputSummaryHtml();
    EXPECT_NE(page.find("18.5 &deg;C"), std::string::npos);
    EXPECT_EQ(page.find("corrected to the site's"), std::string::npos);
    p.SaveFileAs(dir / "own2.zvx");
    EXPECT_FALSE(readProject(dir / "own2.zvx").site.temperatureReferenceElevation);

    // Monthly means are the site's own too: the reference leaves them alone.
    json monthly = ztest::smallTemplate();
    monthly["site"]["monthly_ambient_temperature_c"] = std::vector<double>(12, 10.0);
    Project m;
    openAt(m, ztest::writeJson(dir, "monthly.zvx", monthly), 2344);
    EXPECT_NEAR(yearMean(m.impl().data), 10.0, 0.05);
}
