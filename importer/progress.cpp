#include "importer/progress.h"

#include <algorithm>

#include "importer/import_error.h"

namespace importer {

void Progress::begin(const QString& step, double share) {
    done_ = std::min(1.0, done_ + share_);
    share_ = share;
    step_ = step;
    update(0);
}

void Progress::update(double withinStep) {
    if (!listener_) return;
    const double f = std::clamp(done_ + share_ * std::clamp(withinStep, 0.0, 1.0), 0.0, 1.0);
    if (!listener_(f, step_)) throw ImportCancelled();
}

}  // namespace importer
