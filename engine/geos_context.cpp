#include "engine/geos_context.h"

#include <string>

#include "engine/types.h"

namespace engine {

namespace {

thread_local std::string lastGeosMessage;

void keepMessage(const char* message, void*) { lastGeosMessage = message ? message : ""; }

struct ThreadContext {
    GEOSContextHandle_t handle = GEOS_init_r();
    ThreadContext() {
        GEOSContext_setErrorMessageHandler_r(handle, keepMessage, nullptr);
        GEOSContext_setNoticeMessageHandler_r(handle, [](const char*, void*) {}, nullptr);
    }
    ~ThreadContext() { GEOS_finish_r(handle); }
    ThreadContext(const ThreadContext&) = delete;
    ThreadContext& operator=(const ThreadContext&) = delete;
};

}  // namespace

GEOSContextHandle_t geosContext() {
    thread_local ThreadContext context;
    return context.handle;
}

void throwGeosError(const char* operation) {
    std::string text = std::string(operation) + " failed";
    if (!lastGeosMessage.empty()) text += ": " + lastGeosMessage;
    lastGeosMessage.clear();
    throw EngineError(text);
}

}  // namespace engine
