#include "engine/thread_count.h"

#include <QtGlobal>
#include <algorithm>
#include <thread>

namespace engine {

int defaultThreadCount() {
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("PALLIX_THREADS", &ok);
    if (ok && fromEnvironment > 0) return fromEnvironment;
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace engine
