#include "engine/renderer.h"

#include <algorithm>

namespace engine {

void ClassBreaksRenderer::setBreakCount(int n) {
    breaks_.resize(std::max(0, n));
    symbols_.resize(breaks_.size() + 1);
}

int ClassBreaksRenderer::classOf(double value) const {
    // A value equal to a break belongs to the class above it.
    return int(std::upper_bound(breaks_.begin(), breaks_.end(), value) - breaks_.begin());
}

void ValueMapRenderer::setValueCount(int n) {
    n = std::max(0, n);
    values_.resize(n);
    symbols_.resize(n);
}

int ValueMapRenderer::indexOf(const QString& value) const { return int(values_.indexOf(value)); }

}  // namespace engine
