// The generated sample dataset: repeatable, complete, and with values a real region could have.
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

#include "dataset/catalogue.h"
#include "dataset/symbology.h"
#include "tests/tools/sample_fixture.h"
#include "tools/utm.h"

using engine::GeoDataset;
using testsample::defaultSample;

namespace {

QStringList shapefiles(const QString& dir) {
    return QDir(dir).entryList({"*.shp"}, QDir::Files, QDir::Name);
}

// Values of one field over all records, as numbers.
std::vector<double> column(const GeoDataset& ds, const QString& field) {
    const int f = ds.fieldIndex(field);
    EXPECT_GE(f, 0) << field.toStdString() << " in " << ds.name().toStdString();
    std::vector<double> out;
    if (f < 0) return out;
    for (int r = 0; r < ds.recordCount(); ++r) out.push_back(ds.value(r, f).toDouble());
    return out;
}

double minOf(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double maxOf(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

const char* const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

}  // namespace

TEST(SampleDataset, TwoRunsWriteIdenticalFiles) {
    QTemporaryDir again;
    tools::generateSampleDataset(again.path());
    const QStringList names = shapefiles(defaultSample().path());
    ASSERT_EQ(shapefiles(again.path()), names);
    for (const QString& shp : names)
        for (const char* ext : {".shp", ".shx", ".dbf", ".prj"}) {
            const QString file = shp.chopped(4) + ext;
            QFile a(QDir(defaultSample().path()).filePath(file)), b(QDir(again.path()).filePath(file));
            ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << file.toStdString();
            EXPECT_TRUE(a.readAll() == b.readAll()) << file.toStdString();
        }
}

TEST(SampleDataset, HoldsOnlyCatalogueLayersFewEnoughToLoadAtOnce) {
    md_functions::FillStandardFileNames();
    const QStringList names = shapefiles(defaultSample().path());
    EXPECT_LE(names.size(), md_functions::MAX_LAYERS);
    EXPECT_EQ(names.size(), 24);
    for (const QString& n : names) EXPECT_TRUE(md_functions::StandardFile(n)) << n.toStdString();
    // Starting visibility depends on these staying under 50 features.
    EXPECT_LT(defaultSample().open("43_roads")->recordCount(), 50);
    EXPECT_LT(defaultSample().open("59_cities")->recordCount(), 50);
}

TEST(SampleDataset, EveryLayerCarriesTheFieldsTheProgramReads) {
    auto solar = [](const QString& suffix) {
        QStringList f{"Cell_ID", "Gridcode", "Lon", "Lat"};
        for (const char* m : months) f << QString(m) + suffix;
        return f << "ANN" + suffix;
    };
    QStringList wind{"FeatureID", "WINDPWRD", "WINDCLASS", "ZORVELWK", "AUTOCORR", "PATTSTR", "PEAKHR"};
    QStringList hydro{"WATERSHED", "ANNPOW", "HEAD200M", "BASINAREA"};
    for (const char* m : months) {
        wind << QString(m) + "WS" << QString(m) + "WPD";
        hydro << QString(m) + "POW";
    }
    const std::map<QString, QStringList> required{
        {"01_elevation", {"Elev_m"}},
        {"02_landuse", {"LAND_USE", "FeatureID"}},
        {"11_solar_direct", solar("DIR")},
        {"12_solar_tilt", solar("TILT")},
        {"13_solar_direct", solar("DIR")},
        {"14_solar_glo", solar("GLO")},
        {"16_solar_tilt", solar("TILT")},
        {"20_wind", wind},
        {"25_hydro", hydro},
        {"30_lakes", {"NAME"}},
        {"31_protectedarea", {"NAME", "TYPE"}},
        {"36_subcountrybnd3", {"NAME", "POP"}},
        {"37_subcountrybnd2", {"NAME", "POP"}},
        {"38_subcountrybnd1", {"NAME", "POP"}},
        {"39_countryboundary", {"NAME"}},
        {"40_rivers", {"NAME"}},
        {"42_railroad", {"NAME"}},
        {"43_roads", {"NAME"}},
        {"44_transmissionline", {"NAME", "VOLTAGE"}},
        {"50_protectedarea", {"NAME"}},
        {"51_powerplant", {"NAME", "CAPACITY"}},
        {"52_facilities", {"NAME", "TYPE"}},
        {"53_airports", {"NAME"}},
        {"59_cities", {"NAME", "TYPE", "POP"}},
    };
    ASSERT_EQ(int(required.size()), shapefiles(defaultSample().path()).size());
    for (const auto& [layer, fields] : required) {
        const auto ds = defaultSample().open(layer);
        EXPECT_GT(ds->recordCount(), 0) << layer.toStdString();
        for (const QString& f : fields) EXPECT_GE(ds->fieldIndex(f), 0) << layer.toStdString() << "." << f.toStdString();
        for (const char* f : {"NAME", "TYPE", "WATERSHED"}) {
            const int i = ds->fieldIndex(f);
            for (int r = 0; i >= 0 && r < ds->recordCount(); ++r)
                EXPECT_FALSE(ds->value(r, i).toString().trimmed().isEmpty()) << layer.toStdString();
        }
    }
}

TEST(SampleDataset, WindGridRunsSmoothlyFromPoorToExcellentWithConsistentMonths) {
    const auto ds = defaultSample().open("20_wind");
    ASSERT_GE(ds->recordCount(), 5000);
    ASSERT_LE(ds->recordCount(), 10000);
    const auto power = column(*ds, "WINDPWRD");
    EXPECT_LT(minOf(power), 150);
    EXPECT_GT(maxOf(power), 850);
    EXPECT_GE(minOf(power), 90);
    EXPECT_LE(maxOf(power), 950);

    const auto cls = column(*ds, "WINDCLASS");
    const auto id = column(*ds, "FeatureID");
    const double breaks[] = {200, 300, 400, 500, 600, 800};
    std::vector<std::vector<double>> ws, wpd;
    for (const char* m : months) {
        ws.push_back(column(*ds, QString(m) + "WS"));
        wpd.push_back(column(*ds, QString(m) + "WPD"));
    }
    std::map<std::pair<long, long>, double> byCell;
    const double side = ds->shapeExtent(0).width();
    for (int r = 0; r < ds->recordCount(); ++r) {
        int expected = 1;
        for (double b : breaks) expected += power[r] >= b;
        EXPECT_EQ(cls[r], expected) << power[r];
        EXPECT_EQ(id[r], r);
        double sum = 0;
        int windiest = 0, fastest = 0;
        for (int m = 0; m < 12; ++m) {
            sum += wpd[m][r];
            if (wpd[m][r] > wpd[windiest][r]) windiest = m;
            if (ws[m][r] > ws[fastest][r]) fastest = m;
            EXPECT_GT(ws[m][r], 2);
            EXPECT_LT(ws[m][r], 14);
        }
        EXPECT_NEAR(sum / 12, power[r], 0.01 * power[r]);
        EXPECT_EQ(windiest, fastest);
        const auto c = ds->shapeExtent(r).center();
        byCell[{std::lround(c.x / side), std::lround(c.y / side)}] = power[r];
    }
    // Smooth: a neighbouring cell never jumps by more than a class width.
    for (const auto& [key, p] : byCell) {
        const auto right = byCell.find({key.first + 1, key.second});
        if (right != byCell.end()) {
            EXPECT_LT(std::abs(right->second - p), 100);
        }
    }
    for (const auto& [field, lo, hi] : {std::tuple{"ZORVELWK", 1.8, 2.4}, {"AUTOCORR", 0.85, 0.95}, {"PATTSTR", 0.1, 0.3},
                                        {"PEAKHR", 0.0, 23.0}}) {
        const auto v = column(*ds, field);
        EXPECT_GE(minOf(v), lo) << field;
        EXPECT_LE(maxOf(v), hi) << field;
    }
    for (double h : column(*ds, "PEAKHR")) EXPECT_EQ(h, std::floor(h));
}

TEST(SampleDataset, SolarGridsStayInRangeWithASeasonalCycleAndCoordinates) {
    for (const auto& [layer, suffix, side] : {std::tuple{"11_solar_direct", "DIR", 40000.0}, {"12_solar_tilt", "TILT", 40000.0},
                                              {"13_solar_direct", "DIR", 10000.0}, {"14_solar_glo", "GLO", 10000.0},
                                              {"16_solar_tilt", "TILT", 10000.0}}) {
        SCOPED_TRACE(layer);
        const auto ds = defaultSample().open(layer);
        const auto annual = column(*ds, QString("ANN") + suffix);
        EXPECT_GT(maxOf(annual) - minOf(annual), 1.5);  // the country spans several classes
        std::vector<double> mean(annual.size(), 0);
        for (const char* m : months) {
            const auto v = column(*ds, QString(m) + suffix);
            EXPECT_GE(minOf(v), 3.5);
            EXPECT_LE(maxOf(v), 6.8);
            for (size_t r = 0; r < v.size(); ++r) mean[r] += v[r] / 12;
        }
        for (size_t r = 0; r < annual.size(); ++r) EXPECT_NEAR(mean[r], annual[r], 0.02);
        const auto lat = column(*ds, "LAT"), lon = column(*ds, "LON");
        EXPECT_GT(minOf(lat), 6);
        EXPECT_LT(maxOf(lat), 13);
        EXPECT_GT(minOf(lon), 35);
        EXPECT_LT(maxOf(lon), 43);
        EXPECT_NEAR(ds->shape(0).area(), side * side, 1);
    }
    // Sunnier north: the northern tenth of the 10 km cells beats the southern tenth.
    const auto glo = defaultSample().open("14_solar_glo");
    const auto lat = column(*glo, "LAT"), annual = column(*glo, "ANNGLO");
    double north = 0, south = 0;
    int nn = 0, ns = 0;
    for (size_t r = 0; r < lat.size(); ++r) {
        if (lat[r] > maxOf(lat) - 0.5) north += annual[r], ++nn;
        if (lat[r] < minOf(lat) + 0.5) south += annual[r], ++ns;
    }
    EXPECT_GT(north / nn, south / ns + 0.5);
}

TEST(SampleDataset, LandUseAndElevationSpanTheirClasses) {
    const auto lu = defaultSample().open("02_landuse");
    QSet<QString> classes;
    const int f = lu->fieldIndex("LAND_USE");
    for (int r = 0; r < lu->recordCount(); ++r) {
        const QString v = lu->value(r, f).toString();
        EXPECT_NE(md_functions::LandUseColor(v), engine::rgb(175, 175, 177)) << v.toStdString();
        classes.insert(v);
    }
    EXPECT_GE(classes.size(), 8);
    for (const char* c : {"FOREST", "GRASSLAND", "CROPLAND/GRASSLAND MOSAIC", "SAVANNA", "URBAN AREAS", "WATER BODIES"})
        EXPECT_TRUE(classes.contains(c)) << c;
    // Patches cover the country and stay inside it.
    const double country = defaultSample().open("39_countryboundary")->shape(0).area();
    double covered = 0;
    for (int r = 0; r < lu->recordCount(); ++r) covered += lu->shape(r).area();
    EXPECT_GT(covered, 0.95 * country);
    EXPECT_LT(covered, 1.001 * country);

    const auto elev = column(*defaultSample().open("01_elevation"), "Elev_m");
    const double breaks[] = {200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000, 2200, 2500, 3000};
    QSet<int> bands;
    for (double e : elev) bands.insert(int(std::count_if(std::begin(breaks), std::end(breaks), [&](double b) { return e >= b; })));
    EXPECT_GE(bands.size(), 10);
}

TEST(SampleDataset, BoundariesTileAnIrregularCountry) {
    const auto country = defaultSample().open("39_countryboundary");
    ASSERT_EQ(country->recordCount(), 1);
    const double area = country->shape(0).area();
    const auto box = country->extent();
    EXPECT_LT(area, 0.85 * box.width() * box.height());  // not a rectangle
    EXPECT_GT(area, 1.5e11);                              // country-sized, in m2
    for (const char* layer : {"38_subcountrybnd1", "37_subcountrybnd2", "36_subcountrybnd3"}) {
        SCOPED_TRACE(layer);
        const auto ds = defaultSample().open(layer);
        double sum = 0;
        for (int r = 0; r < ds->recordCount(); ++r) sum += ds->shape(r).area();
        EXPECT_NEAR(sum, area, 1e-4 * area);
        for (int a = 0; a < ds->recordCount(); ++a)
            for (int b = a + 1; b < ds->recordCount(); ++b) {
                const auto overlap = ds->shape(a).intersect(ds->shape(b));
                if (overlap) {
                    EXPECT_LT(overlap.area(), 1e-6 * area);
                }
            }
        for (double pop : column(*ds, "POP")) EXPECT_GT(pop, 0);
    }
    EXPECT_GE(defaultSample().open("38_subcountrybnd1")->recordCount(), 5);
}

TEST(SampleDataset, NetworksJoinTheCitiesAndSitesLookPlausible) {
    const auto cities = defaultSample().open("59_cities");
    const auto roads = defaultSample().open("43_roads");
    std::vector<engine::Shape> ends;
    for (int r = 0; r < roads->recordCount(); ++r) ends.push_back(roads->shape(r));
    for (int c = 0; c < cities->recordCount(); ++c) {
        const auto& city = cities->shape(c);
        EXPECT_TRUE(std::any_of(ends.begin(), ends.end(), [&](const engine::Shape& s) { return s.distanceTo(city) < 1; }))
            << "city " << c << " has no road";
    }
    for (double v : column(*defaultSample().open("44_transmissionline"), "VOLTAGE"))
        EXPECT_TRUE(v == 132 || v == 230 || v == 400) << v;

    const auto parks = defaultSample().open("31_protectedarea");
    bool overlapping = false;
    for (int a = 0; a < parks->recordCount(); ++a)
        for (int b = a + 1; b < parks->recordCount(); ++b) overlapping |= parks->shape(a).intersects(parks->shape(b));
    EXPECT_TRUE(overlapping);

    const auto hydro = defaultSample().open("25_hydro");
    const auto annual = column(*hydro, "ANNPOW");
    EXPECT_LT(minOf(annual), 20);
    EXPECT_GT(maxOf(annual), 1000);
    std::vector<double> mean(annual.size(), 0);
    for (const char* m : months) {
        const auto v = column(*hydro, QString(m) + "POW");
        for (size_t r = 0; r < v.size(); ++r) mean[r] += v[r] / 12;
    }
    for (size_t r = 0; r < annual.size(); ++r) EXPECT_NEAR(mean[r], annual[r], 0.01 * annual[r] + 0.1);
    EXPECT_GT(minOf(column(*hydro, "HEAD200M")), 0);
    EXPECT_GT(minOf(column(*hydro, "BASINAREA")), 0);
}

TEST(SampleDataset, SizeSetsTheFeatureCounts) {
    QTemporaryDir dir;
    const tools::SampleSize size{3000, 300, 120, 800, 60, 60};
    tools::generateSampleDataset(dir.path(), size);
    auto count = [&](const char* layer) { return GeoDataset::open(dir.filePath(QString(layer) + ".shp"))->recordCount(); };
    EXPECT_EQ(count("43_roads"), 300);
    EXPECT_EQ(count("44_transmissionline"), 120);
    EXPECT_EQ(count("31_protectedarea"), 60);
    EXPECT_EQ(count("59_cities"), 60);
    EXPECT_NEAR(count("20_wind"), 3000, 150);
    EXPECT_NEAR(count("02_landuse"), 800, 160);
}

TEST(SampleDataset, GeographicVariantIsTheSameRegionInDegrees) {
    QTemporaryDir metres, degrees;
    const auto size = tools::SampleSize{}.scaled(0.3);
    const auto placesM = tools::generateSampleDataset(metres.path(), size);
    const auto placesD = tools::generateSampleDataset(degrees.path(), size, true);
    const tools::UtmZone zone;
    const auto expected = zone.toGeographic(placesM.lake);
    EXPECT_NEAR(placesD.lake.x, expected.x, 1e-9);
    EXPECT_NEAR(placesD.lake.y, expected.y, 1e-9);
    ASSERT_EQ(shapefiles(metres.path()), shapefiles(degrees.path()));
    for (const QString& name : shapefiles(metres.path())) {
        SCOPED_TRACE(name.toStdString());
        const auto m = GeoDataset::open(metres.filePath(name));
        const auto d = GeoDataset::open(degrees.filePath(name));
        ASSERT_EQ(m->recordCount(), d->recordCount());
        ASSERT_TRUE(m->coordinateSystem() && d->coordinateSystem());
        EXPECT_TRUE(m->coordinateSystem()->isProjected);
        EXPECT_TRUE(d->coordinateSystem()->isGeographic());
        const auto c = m->shape(0).centroid();
        const auto g = zone.toGeographic(c);
        const auto dc = d->shape(0).centroid();
        EXPECT_NEAR(dc.x, g.x, 0.01);  // centroids of the two forms agree to about a kilometre
        EXPECT_NEAR(dc.y, g.y, 0.01);
    }
}

TEST(Utm, InverseMatchesReferencePoints) {
    const tools::UtmZone zone{37};
    const struct {
        double e, n, lon, lat;
    } points[] = {{500000, 1050000, 39, 9.49881019103059},
                  {650000, 1200000, 40.3722742119029, 10.8524220040103},
                  {300000, 800000, 37.1886199865016, 7.23386365050087}};
    for (const auto& p : points) {
        const auto g = zone.toGeographic({p.e, p.n});
        EXPECT_NEAR(g.x, p.lon, 1e-8);
        EXPECT_NEAR(g.y, p.lat, 1e-8);
    }
}
