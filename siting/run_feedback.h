#pragma once
// What a running query tells and asks its user. The window answers through its status label and
// dialogs; the headless runner prints, and answers Yes.

#include <QString>

namespace siting {

class RunFeedback {
  public:
    virtual ~RunFeedback() = default;
    // The progress caption; shown at once when paintNow is set, otherwise perhaps held back.
    virtual void caption(const QString& text, bool paintNow = false) = 0;
    // Shows a caption held back.
    virtual void flushCaption() = 0;
    // Lets pending events (a cancel among them) be handled.
    virtual void yield() = 0;
    // Layers were hidden for the run: the map is to show it.
    virtual void layersChanged() = 0;
    // A Yes/No question; true for Yes.
    virtual bool confirm(const QString& question) = 0;
    // A message with only an OK button.
    virtual void inform(const QString& text) = 0;
    // A failure, reported from inside the catch block that caught it.
    virtual void failure(const QString& text) = 0;
};

}  // namespace siting
