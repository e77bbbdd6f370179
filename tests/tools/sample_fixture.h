#pragma once
// The default sample dataset, written once per test program into a temporary directory.

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "engine/geo_dataset.h"
#include "tools/sample_dataset.h"

namespace testsample {

struct Sample {
    QTemporaryDir dir;
    tools::SamplePlaces places;
    Sample() { places = tools::generateSampleDataset(dir.path()); }
    QString path() const { return dir.path(); }
    std::shared_ptr<engine::GeoDataset> open(const QString& layer) const {
        return engine::GeoDataset::open(QDir(dir.path()).filePath(layer + ".shp"));
    }
};

inline const Sample& defaultSample() {
    static const Sample sample;
    return sample;
}

}  // namespace testsample
