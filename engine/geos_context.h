#pragma once
// Engine internal: the GEOS context of the calling thread.

#define GEOS_USE_ONLY_R_API
#include <geos_c.h>

namespace engine {

// One reentrant GEOS context per thread, made on first use.
GEOSContextHandle_t geosContext();
// Throws EngineError naming the operation and GEOS's last message on this thread.
[[noreturn]] void throwGeosError(const char* operation);

}  // namespace engine
