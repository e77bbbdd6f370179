#pragma once
// The query procedures that the run dispatches to, and the workers they call. Each one fills
// the result set, reports its own failures and stops early when the run is cancelled.

#include <QString>
#include <initializer_list>
#include <memory>
#include <vector>

#include "engine/line_buffers.h"
#include "engine/map_layer.h"
#include "engine/shape.h"

class frmMain;

namespace md_query_functions2 {

// Threshold queries.
void wind_class_x_or_better(frmMain& f);
void solar_x_kwhm2_or_better(frmMain& f);

// Overlay queries.
void wind_minus_protected_areas(frmMain& f);
void wind_with_land_use(frmMain& f);
void Wind_Protected_Overlay(frmMain& f);
void Wind_Landuse_Overlay(frmMain& f);

// Line-buffer queries. The proximity polygon of a line layer (null: declined, cancelled or
// failed) is worked out where it is needed, and the corridor of "Best wind (all)" is the area
// within both proximity polygons.
std::unique_ptr<engine::LineBuffers> create_line_buffers(frmMain& f, const QString& file,
                                                         float km);
struct Corridor {
    const engine::LineBuffers& roads;
    const engine::LineBuffers& lines;
};
void wind_with_roads(frmMain& f);
void wind_with_transmission(frmMain& f);
void wind_all(frmMain& f);
void Wind_Buffer_Overlay(frmMain& f, const engine::LineBuffers& zone);
void Wind_All_Overlay(frmMain& f, const Corridor& corridor);

// Shared by the procedures.
std::shared_ptr<engine::MapLayer> LayerOf(frmMain& f, const QString& file);
// Hides those of the layers that are loaded.
void HideLayers(frmMain& f, std::initializer_list<const char*> files);
// The record numbers of a record set, walked from its first record.
std::vector<int> RecordsOf(engine::Recordset& records);

}  // namespace md_query_functions2
