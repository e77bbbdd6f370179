#include "tests/model/site_dataset.h"

#include <QDir>
#include <QVariant>
#include <vector>

#include "engine/geo_dataset.h"
#include "model/site_record.h"

namespace model_test {
namespace {

using engine::Shape;
using engine::TableDesc;

Shape cell(double left) {
    return Shape::polygon({{left, 0}, {left + 10000, 0}, {left + 10000, 10000}, {left, 10000}});
}

void addMonthly(TableDesc& table, const QString& suffix, int precision) {
    for (const QString& key : model::kMonthKeys)
        table.push_back({key + suffix, engine::moDouble, 12, precision});
}

engine::DataConnection connectionTo(const QString& dir) {
    QDir().mkpath(dir);
    engine::DataConnection connection;
    connection.setDatabase(dir);
    connection.connect();
    return connection;
}

}  // namespace

QString writeSiteDataset(const QString& dir, Wind wind) {
    const engine::DataConnection connection = connectionTo(dir);

    {
        auto w = connection.addGeoDataset("01_elevation", engine::moShapeTypePolygon,
                                          {{"ELEV_M", engine::moDouble, 12, 1}});
        w->addRecord(cell(0), {511.2});
        w->addRecord(cell(10000), {1234.0});
        w->commit();
    }
    {
        TableDesc table{{"LAT", engine::moDouble, 12, 3}, {"LON", engine::moDouble, 12, 3}};
        addMonthly(table, "GLO", 3);
        auto w = connection.addGeoDataset("14_solar_glo", engine::moShapeTypePolygon, table);
        const auto row = [](double lat, double lon, double base) {
            std::vector<QVariant> values{lat, lon};
            for (int i = 0; i < 12; ++i)
                values.push_back(base + 0.1 * i);
            values.push_back(base + 0.55);
            return values;
        };
        w->addRecord(cell(0), row(7.3, -80.9, 4.5));
        w->addRecord(cell(10000), row(-7.3, 80.9, 5.0));
        w->addRecord(cell(20000), row(0, 0, 3.5));
        w->commit();
    }
    if (wind != Wind::None) {
        TableDesc table{{"WINDPWRD", engine::moDouble, 12, 1}};
        if (wind == Wind::Monthly) {
            addMonthly(table, "WS", 2);
            addMonthly(table, "WPD", 1);
            table.push_back({"ZORVELWK", engine::moDouble, 12, 2});
            table.push_back({"AUTOCORR", engine::moDouble, 12, 2});
            table.push_back({"PATTSTR", engine::moDouble, 12, 2});
            table.push_back({"PEAKHR", engine::moLong, 4, 0});
        }
        auto w = connection.addGeoDataset("20_wind", engine::moShapeTypePolygon, table);
        for (double left : {0.0, 10000.0}) {
            std::vector<QVariant> values{1520.4};
            if (wind == Wind::Monthly) {
                for (int i = 0; i < 13; ++i)
                    values.push_back(6.0 + 0.25 * i);
                for (int i = 0; i < 13; ++i)
                    values.push_back(300.0 + 10 * i);
                values.insert(values.end(), {2.1, 0.85, 0.3, 15});
            }
            w->addRecord(cell(left), values);
        }
        w->commit();
    }
    return QDir(dir).filePath("14_solar_glo.shp");
}

void writeHydro(const QString& dir, double tolerance, std::vector<double> power) {
    const engine::DataConnection connection = connectionTo(dir);
    {
        TableDesc table;
        addMonthly(table, "POW", 1);
        auto w = connection.addGeoDataset("25_hydro", engine::moShapeTypePoint, table);
        std::vector<QVariant> values;
        for (int i = 0; i < 13; ++i)
            values.push_back(power.empty() ? 1000.0 + 100 * i : power[size_t(i)]);
        w->addRecord(Shape::point(kSiteA.x + tolerance / 2, kSiteA.y), values);
        w->addRecord(Shape::point(kSiteB.x + 3 * tolerance, kSiteB.y), values);
        w->commit();
    }
}

}  // namespace model_test
