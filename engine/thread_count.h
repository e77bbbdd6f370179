#pragma once

namespace engine {

// Threads for work split over the processors: PALLIX_THREADS when it holds a positive number,
// else one per processor.
int defaultThreadCount();

}  // namespace engine
