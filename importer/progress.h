#pragma once
// Progress of an import in steps, each a share of the whole; the listener can cancel.

#include <QString>
#include <functional>

namespace importer {

class Progress {
  public:
    // fraction 0..1 of the whole import, the step's text; false cancels the import.
    using Listener = std::function<bool(double fraction, const QString& step)>;

    explicit Progress(Listener listener = {}) : listener_(std::move(listener)) {}
    // Starts a step taking `share` of the whole.
    void begin(const QString& step, double share);
    // Within the current step, 0..1. Throws ImportCancelled when the listener says so.
    void update(double withinStep);

  private:
    Listener listener_;
    QString step_;
    double done_ = 0, share_ = 0;
};

}  // namespace importer
