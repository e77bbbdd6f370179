#include "dataset/land_use_colours.h"

#include <initializer_list>

namespace md_functions {
namespace {

struct Row {
    engine::ColorNumber colour;
    std::initializer_list<const char*> texts;
};

// One row per colour, in the order the classes were first collected. The classes of the public
// global land-cover map (as the importer names them) join the row of their nearest class.
const Row kRows[] = {
    {engine::rgb(212, 231, 177),
     {"GARDEN", "CULTIVATIONS", "SALTY FOREST", "REFORESTATION", "PROTECTED FORESTS",
      "COASTAL FORESTS", "SMALL LEAF MIXED WOODS",
      "GRASSLAND WITH OR WITHOUT SCATTERED TREES AND SHRUBS"}},
    {engine::rgb(220, 202, 143),
     {"OTHER LAND", "DRY AREAS", "COCO", "AGRICULTURAL DEVELOPMENT", "ROTATING CULTURES",
      "TEPUIS(TABLE MOUNTAINS)", "COOL FIELDS AND WOODS", "CROPLAND/GRASSLAND MOSAIC",
      "MODERATELY CLOSED TREE CANOPY WITH HERB AND BUSH"}},
    {engine::rgb(240, 156, 54),
     {"PADDY", "INFRASTRUCTURE", "LAVA", "RANCH FOR DAIRY AND MEAT", "REGENERATION OF BIOMASS",
      "RESTINGAS", "GRASSLAND", "RIVERINE SAVANNA VEGETATION"}},
    {engine::rgb(121, 108, 75),
     {"COCONUT", "MUSACEAS", "COFFEE, FRUITS, AND GRAINS", "INTENSIVE CULTURES, DRAINAGE",
      "GRASSES AND SHRUBS", "SHRUBLAND", "RIVERINE FOREST VEGETATION"}},
    {engine::rgb(134, 200, 127),
     {"OPEN FOREST", "PASTURE/MARSH", "VEGETABLES", "FOREST (DECIDUOUS)", "FORESTRY",
      "INTERIOR FORESTS", "MIXED FOREST"}},
    {engine::rgb(26, 129, 78),
     {"DENSE FOREST", "FOREST", "NATURAL FOREST", "FOREST (CONIFEROUS)", "FOREST FARMS (PINES)",
      "TROPICAL FORESTS", "DECIDUOUS BROADLEAF FOREST", "TREE COVER"}},
    {engine::rgb(102, 140, 190), {"WATER BODIES", "WATER", "PERMANENT WATER BODIES"}},
    {engine::rgb(175, 175, 177), {"UNDEFINED", "MARSHLAND", "CLOSED CULTIVATED SAVANNA WOODLAND"}},
    {engine::rgb(247, 178, 159),
     {"RUBBER", "HENEQUEN", "PROTECTED AREAS", "EXCLUSIONS", "BABACU OIL PALM", "SAVANNA (WOODS)",
      "UNCLASSIFIED/BUSHFIRE"}},
    {engine::rgb(187, 174, 118),
     {"TEA", "HUMID AREAS", "NO APT", "AGRICULTURE", "ROTATING CULTURES, INTENSIVE METHOD",
      "CAATINGA", "DRY WOODY SCRUB", "DRYLAND CROPLAND AND PASTURE", "PLANTED COVER", "CROPLAND"}},
    {engine::rgb(210, 205, 192),
     {"URBAN AREAS", "FREE RANCH", "PROTECTED FORESTS (PINES)", "MANGROVES", "BROADLEAF CROPS",
      "CROPLAND/WOODLAND MOSAIC", "GRASS AND HERB WITH OR WITHOUT SCATTERED TREES"}},
    {engine::rgb(202, 145, 71),
     {"COFFEE", "AREAS WITH CRITICAL CLIMATE AND LAND", "INTENSIVE CULTURES", "CHACO",
      "SEMI DESERT SAGE", "BARREN OR SPARSELY VEGITATED", "WETLAND", "BARE / SPARSE VEGETATION"}},
    {engine::rgb(253, 229, 228),
     {"SUGAR CANE", "RIO NEGRO CAMPINARANA", "SHRUB THICKET WITH OR WITHOUT TREES"}},
    {engine::rgb(231, 86, 78),
     {"TOURIST CENTER", "RANCH FOR MEAT", "EXCLUSIONS AND SELECTIONS", "SEASONAL FORESTS"}},
    {engine::rgb(253, 233, 170),
     {"FRUITS", "EXTENSIVE AGRICULTURE", "SAVANNA", "CROPS, GRASS, SHRUBS",
      "IRRIGATED CROPLAND AND PASTURE", "MOSAIC OF THICKETS/GRASS WITH/WITHOUT SCATTERED TREES"}},
    {engine::rgb(244, 238, 203), {"KENAF"}},
    {engine::rgb(252, 246, 93),
     {"PASTURES", "TOURIST DEVELOPMENT", "PERMANENT CULTURAL VEGETATION", "OPEN PASTURE",
      "GRASS CROPS", "ROCK"}},
    {engine::rgb(201, 230, 249),
     {"HUMID AREA", "SWAMP", "FLOODED FORESTS", "RAIN FOREST", "WOODED WETLAND", "LAGOON",
      "HERBACEOUS WETLAND"}},
    {engine::rgb(161, 186, 212), {"INDUSTRIAL"}},
    {engine::rgb(194, 158, 215), {"UNDEVELOPED", "MOIST FORESTS"}},
    {engine::rgb(250, 192, 165), {"PERMANENT VEGETATION"}},
    {engine::rgb(227, 190, 175), {"PERMANENT VEGETATION (CULTURAL PASTURE)"}},
    {engine::rgb(230, 212, 252), {"PERMANENT VEGETATION (PASTURE)"}},
    {engine::rgb(204, 115, 59), {"PERMANENT VEGETATION (PASTURE, COFFEE, FRUITS)"}},
    {engine::rgb(214, 173, 188), {"BARREN TUNDRA", "CLOSED SAVANNA WOODLAND"}},
    {engine::rgb(211, 255, 222), {"CONIFER FOREST", "EVERGREEN BROADLEAF FOREST", "CLOSED FOREST"}},
    {engine::rgb(205, 137, 102),
     {"CROPS AND TOWN", "MODERATELY DENSE HERB/BUSH WITH SCATTERED TREES"}},
    {engine::rgb(156, 166, 94), {"DRY TROPICAL WOODS", "OPEN SAVANNA WOODLAND"}},
    {engine::rgb(214, 219, 192), {"FOREST AND FIELD", "RESERVOIR"}},
    {engine::rgb(158, 187, 215), {"IRRIGATED CROPLAND", "RIVER"}},
    {engine::rgb(237, 209, 255), {"MIRE, BOG, FEN", "SETTLEMENT"}},
    {engine::rgb(255, 190, 190), {"SEASONAL TROPICAL FOREST", "UNCLASSIFIED/CLOUD"}},
    {engine::rgb(199, 215, 158),
     {"SEMI DESERT SHRUBS", "WOODED TUNDRA", "WIDELY OPEN CULTIVATED SAVANNA WOODLAND"}},
    {engine::rgb(215, 194, 158),
     {"TROPICAL DEGRADED FOREST", "MIXED TUNDRA", "OPEN CULTIVATED SAVANNA WOODLAND",
      "MOSS AND LICHEN"}},
    {engine::rgb(179, 168, 191), {"URBAN", "URBAN AND BUILT-UP LAND", "BUILT-UP"}},
    {engine::rgb(144, 192, 217), {"LAKE"}},
    {engine::rgb(255, 255, 255), {"OTHER"}},
    {engine::rgb(236, 241, 246), {"SNOW AND ICE"}},
};

}  // namespace

const QHash<QString, engine::ColorNumber>& landUseColourTable() {
    static const QHash<QString, engine::ColorNumber> table = [] {
        QHash<QString, engine::ColorNumber> t;
        for (const Row& row : kRows)
            for (const char* text : row.texts) t.insert(QString::fromLatin1(text), row.colour);
        return t;
    }();
    return table;
}

}  // namespace md_functions
