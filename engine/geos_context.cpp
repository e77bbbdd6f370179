#include "engine/geos_context.h"

#include <cstring>
#include <string>

#include "engine/types.h"

namespace engine {

namespace {

// Plain storage, so that it outlives the thread's other objects.
thread_local char lastGeosMessage[512];
thread_local bool contextGone = false;

void keepMessage(const char* message, void*) {
    std::strncpy(lastGeosMessage, message ? message : "", sizeof lastGeosMessage - 1);
}

GEOSContextHandle_t makeContext() {
    GEOSContextHandle_t handle = GEOS_init_r();
    GEOSContext_setErrorMessageHandler_r(handle, keepMessage, nullptr);
    GEOSContext_setNoticeMessageHandler_r(handle, [](const char*, void*) {}, nullptr);
    return handle;
}

struct ThreadContext {
    GEOSContextHandle_t handle = makeContext();
    ThreadContext() = default;
    ~ThreadContext() {
        GEOS_finish_r(handle);
        contextGone = true;
    }
    ThreadContext(const ThreadContext&) = delete;
    ThreadContext& operator=(const ThreadContext&) = delete;
};

}  // namespace

GEOSContextHandle_t geosContext() {
    if (contextGone) {
        // Shapes held in static objects are destroyed after the thread's context.
        thread_local GEOSContextHandle_t late = makeContext();
        return late;
    }
    thread_local ThreadContext context;
    return context.handle;
}

void throwGeosError(const char* operation) {
    std::string text = std::string(operation) + " failed";
    if (lastGeosMessage[0]) text += std::string(": ") + lastGeosMessage;
    lastGeosMessage[0] = '\0';
    throw EngineError(text);
}

}  // namespace engine
