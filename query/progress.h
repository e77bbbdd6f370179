#pragma once
// How a query run tells and asks the user of the main window: progress in its status label,
// questions and failures through the dialog service.

#include <QString>

#include "siting/run_feedback.h"

class frmMain;

namespace md_query_functions2 {

class WindowFeedback : public siting::RunFeedback {
  public:
    explicit WindowFeedback(frmMain& f) : f_(f) {}
    // Setting and painting every change would cost more than the query itself, so the label
    // takes the text and is repainted at most every few tens of milliseconds, and at once when
    // paintNow is set; flushCaption shows a text held back.
    void caption(const QString& text, bool paintNow = false) override;
    void flushCaption() override;
    // Lets pending window events run (a "Cancel" press among them), at most every few
    // milliseconds: a run calls it far more often than events can come.
    void yield() override;
    void layersChanged() override;
    bool confirm(const QString& question) override;
    void inform(const QString& text) override;
    void failure(const QString& text) override;

  private:
    frmMain& f_;
    QString heldBack_;
};

}  // namespace md_query_functions2
