#pragma once
// The one failure an import reports: a message for the user, naming the file or choice at fault.

#include <stdexcept>

namespace importer {

class ImportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raised when the user cancels a running import.
class ImportCancelled : public ImportError {
  public:
    ImportCancelled() : ImportError("the import was cancelled") {}
};

}  // namespace importer
