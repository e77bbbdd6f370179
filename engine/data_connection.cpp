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

QString DataConnection::connectErrorText() const {
    switch (connectError_) {
    case errorNoDirectory: return "no such folder: " + QDir::toNativeSeparators(database_);
    case errorUnreadable:
        return "the folder cannot be read: " + QDir::toNativeSeparators(database_);
    default: return {};
    }
}

std::shared_ptr<GeoDataset> DataConnection::findGeoDataset(const QString& fileName,
                                                           QString* whyNot) const {
    try {
        return GeoDataset::open(QDir(database_).filePath(fileName));
    } catch (const std::exception& e) {
        if (whyNot) *whyNot = QString::fromUtf8(e.what());
        return nullptr;  // missing or unreadable: the caller skips it
    }
}

}  // namespace engine
