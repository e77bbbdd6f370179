#pragma once
// A main window put together as the program does (queries attached), shown offscreen, with
// scripted dialogs and a hand-made dataset in metres:
//   wind cells of 1 km: W0 (0..1 km, 550 W/m2), W1 (2..3 km, 650), W2 (4..5 km, 150),
//     W3 (6..7 km, 850), all from y 0 to 1 km;
//   a protected area over the left half of W0 (x -0.5..0.5 km);
//   land use "FOREST" x 0..2.5 km and "FARMER'S LAND" x 2.5..7 km, y 0..1 km;
//   a road along y = 1.5 km and a transmission line along x = 1 km, both far longer than the
//     cells, so a 1 km buffer has straight sides over them;
//   a solar grid with ANNGLO 3.6, 5.2 and 9.5.
// Coordinates are offset to (500 km, 0) in UTM zone 33N.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "query/attach.h"
#include "query/frmShowQueryData.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "siting/result_set.h"
#include "siting/study.h"
#include "tests/dataset/test_shapefiles.h"

namespace querytest {

constexpr double X0 = 500000;
constexpr double km = 1000;

inline engine::Shape box(double x0, double y0, double x1, double y1) {
    return engine::Shape::polygon({{X0 + x0 * km, y0 * km},
                                   {X0 + x1 * km, y0 * km},
                                   {X0 + x1 * km, y1 * km},
                                   {X0 + x0 * km, y1 * km}});
}

inline engine::Shape line(double x0, double y0, double x1, double y1) {
    return engine::Shape::lineString({{X0 + x0 * km, y0 * km}, {X0 + x1 * km, y1 * km}});
}

inline void writeWind(const QString& dir, const std::vector<double>& values) {
    testdata::writeShapefile(
        dir, "20_wind", engine::moShapeTypePolygon, {{"WINDPWRD", engine::moDouble, 15, 3}},
        int(values.size()), [](int i) { return box(2.0 * i, 0, 2.0 * i + 1, 1); },
        [&](int i) { return std::vector<QVariant>{values[i]}; });
}

inline void writePolygons(const QString& dir, const QString& name, const QString& field,
                          const std::vector<std::pair<engine::Shape, QVariant>>& features) {
    testdata::writeShapefile(
        dir, name, engine::moShapeTypePolygon,
        {{field, field == "LAND_USE" || field == "NAME" ? engine::moString : engine::moDouble,
          40, 3}},
        int(features.size()), [&](int i) { return features[i].first; },
        [&](int i) { return std::vector<QVariant>{features[i].second}; });
}

inline void writeLinesOf(const QString& dir, const QString& name,
                         const std::vector<engine::Shape>& lines) {
    testdata::writeShapefile(
        dir, name, engine::moShapeTypeLine, {{"NAME", engine::moString, 20, 0}}, int(lines.size()),
        [&](int i) { return lines[i]; },
        [](int i) { return std::vector<QVariant>{QString("line %1").arg(i)}; });
}

// Which layers the hand-made dataset gets.
struct Layers {
    bool wind = true, protectedAreas = true, landUse = true, roads = true, transmission = true,
         solar = true;
    std::vector<double> windValues{550, 650, 150, 850};
};

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = createMainWindow();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    QString writeDataset(const Layers& l = {}) {
        const QString dir = tmp.filePath("data");
        if (l.wind) writeWind(dir, l.windValues);
        if (l.protectedAreas)
            writePolygons(dir, "31_protectedarea", "NAME", {{box(-0.5, -1, 0.5, 2), "Park"}});
        if (l.landUse)
            writePolygons(dir, "02_landuse", "LAND_USE",
                          {{box(0, 0, 2.5, 1), "FOREST"}, {box(2.5, 0, 7, 1), "FARMER'S LAND"}});
        if (l.roads) writeLinesOf(dir, "43_roads", {line(-5, 1.5, 12, 1.5)});
        if (l.transmission) writeLinesOf(dir, "44_transmissionline", {line(1, -5, 1, 5)});
        if (l.solar)
            writePolygons(dir, "14_solar_glo", "ANNGLO",
                          {{box(0, 3, 1, 4), 3.6}, {box(2, 3, 3, 4), 5.2}, {box(4, 3, 5, 4), 9.5}});
        return dir;
    }

    void open(const QString& dir) {
        const QString first = QDir(dir).entryList({"*.shp"}, QDir::Files, QDir::Name).first();
        md_functions::LoadProject(first, dir + "/" + first, *form->Map1, *form->legend);
        ASSERT_GT(form->Map1->layerCount(), 0);
    }

    void openDataset(const Layers& l = {}) { open(writeDataset(l)); }

    void choose(const QString& name) { ASSERT_TRUE(query::chooseQuery(*form, name)); }

    void setRange(const QString& min, const QString& max) {
        form->cboQueryDropDown->setEditText(min);
        form->cboQueryDropDown2->setEditText(max);
    }

    void selectLandUse(const QString& text) {
        const auto items = form->lstQuery1->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        items.first()->setSelected(true);
    }

    void updateMap() { form->cmdUpdateMap->click(); }

    // Lets pending layout requests run, so controls stand where the user would see them.
    static void settle() { QCoreApplication::processEvents(); }

    // Summed km2 by class colour.
    std::map<int, double> classAreas() const {
        std::map<int, double> out;
        if (const siting::QueryResult* r = study().result())
            for (const auto& [colour, area] : md_query_functions2::ClassSummary(*r))
                out[colour] = area;
        return out;
    }

    siting::Study& study() const { return *siting::Study::of(*form); }
    // The areas of the last result; none when no query has run.
    const std::vector<siting::ResultEntry>& entries() const {
        static const std::vector<siting::ResultEntry> none;
        return study().result() ? study().result()->entries : none;
    }
    std::vector<double> values() const {
        std::vector<double> out;
        for (const siting::ResultEntry& e : entries()) out.push_back(e.value);
        return out;
    }

    QTemporaryDir tmp;
    feedback::ScopedScriptedDialogs dialogs;
    std::unique_ptr<frmMain> form;
};

inline const QString kSolarGlobal10km =
    QStringLiteral("10 km Solar Global Horizontal Annual Average(KWH/M2/DAY)");

// Class colours of the results.
constexpr int kGrey = engine::rgb(230, 230, 230);
constexpr int kPurple = engine::rgb(154, 50, 205);  // 500 to below 600
constexpr int kRed = engine::rgb(255, 0, 0);        // 600 to below 800
constexpr int kBlue = engine::rgb(0, 0, 255);       // 800 and above

}  // namespace querytest
