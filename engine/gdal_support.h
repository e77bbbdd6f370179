#pragma once
// Engine internal: GDAL set-up and error capture.

#include <QString>
#include <string>

namespace engine {

// Registers the drivers once and sets the options the engine relies on.
void ensureGdal();

// While alive, GDAL's messages go nowhere but here: the first failure is kept.
class GdalErrorTrap {
public:
    GdalErrorTrap();
    ~GdalErrorTrap();
    GdalErrorTrap(const GdalErrorTrap&) = delete;
    GdalErrorTrap& operator=(const GdalErrorTrap&) = delete;
    bool failed() const { return failed_; }
    const std::string& message() const { return message_; }
    void fail(const char* message);

private:
    bool failed_ = false;
    std::string message_;
};

// "what: GDAL's report" (the trap's failure, else GDAL's last error message).
std::string gdalReport(const QString& what, const GdalErrorTrap& trap);

}  // namespace engine
