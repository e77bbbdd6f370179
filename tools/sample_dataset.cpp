#include "tools/sample_dataset.h"

#include <algorithm>
#include <cmath>

#include "tools/sample_places.h"

namespace tools {

SampleSize SampleSize::scaled(double factor) const {
    auto s = [factor](int n) { return std::max(1, int(std::lround(n * factor))); };
    return {s(windCells), s(roadSegments), s(transmissionSegments), s(landUsePolygons), s(protectedAreas),
            std::max(2, s(cities))};
}

SamplePlaces generateSampleDataset(const QString& dir, const SampleSize& size, bool geographic) {
    const SampleWorld world(size);
    const SampleWriter out(dir, world.region.zone(), geographic);
    const auto windCells = gridOver(world.region, windCellSide(world.region, size.windCells));
    writeTerrain(world, out, size);
    writeSolarGrids(world, out);
    writeWindGrid(world, out, windCells);
    writeWater(world, out);
    writeBoundaries(world, out);
    writeNetworks(world, out);
    writeSites(world, out);

    SamplePlaces places = findPlaces(world, windCells);
    places.windCell = out.place(places.windCell);
    places.lake = out.place(places.lake);
    places.road = out.place(places.road);
    return places;
}

}  // namespace tools
