#include "engine/gdal_support.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace engine {

void ensureGdal() {
    static std::once_flag once;
    std::call_once(once, [] {
        // A missing .shx must make the file unreadable, not be rebuilt behind the user's back.
        CPLSetConfigOption("SHAPE_RESTORE_SHX", "NO");
        GDALAllRegister();
    });
}

namespace {
void trapHandler(CPLErr level, CPLErrorNum, const char* message) {
    auto* trap = static_cast<GdalErrorTrap*>(CPLGetErrorHandlerUserData());
    if (trap && level >= CE_Failure) trap->fail(message ? message : "");
}
}  // namespace

GdalErrorTrap::GdalErrorTrap() {
    CPLErrorReset();
    CPLPushErrorHandlerEx(trapHandler, this);
}

GdalErrorTrap::~GdalErrorTrap() { CPLPopErrorHandler(); }

void GdalErrorTrap::fail(const char* message) {
    if (!failed_) message_ = message;
    failed_ = true;
}

std::string gdalReport(const QString& what, const GdalErrorTrap& trap) {
    std::string text = what.toStdString();
    const std::string report = trap.failed() ? trap.message() : std::string(CPLGetLastErrorMsg());
    if (!report.empty()) text += ": " + report;
    return text;
}

}  // namespace engine
