#include <QDir>
#include <QFileInfo>

#include "engine/geo_dataset.h"

namespace engine {

namespace {
constexpr int errorNoDirectory = 1;
constexpr int errorUnreadable = 2;
}  // namespace

bool DataConnection::connect() {
    const QFileInfo dir(database_);
    connectError_ = database_.isEmpty() || !dir.isDir() ? errorNoDirectory
                    : !dir.isReadable() || !dir.isExecutable() ? errorUnreadable
                                                               : 0;
    connected_ = connectError_ == 0;
    return connected_;
}

std::shared_ptr<GeoDataset> DataConnection::findGeoDataset(const QString& fileName) const {
    try {
        return GeoDataset::open(QDir(database_).filePath(fileName));
    } catch (const std::exception&) {
        return nullptr;  // missing or unreadable: the caller skips it
    }
}

}  // namespace engine
