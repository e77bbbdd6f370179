#pragma once
// What a user sees as a broken window: text that does not fit its control, controls lying on top
// of each other, controls cut off by their container. Used on shown windows in offscreen tests.

#include <QStringList>

class QWidget;

namespace testsupport {

// One line per problem found among the visible widgets under root (root included): a text
// wider or taller than its widget can show, two visible siblings that overlap, a visible child
// reaching outside its parent, a list with a horizontal scroll bar, a font pinned to a pixel
// size. Empty when the window reads well.
QStringList layoutProblems(const QWidget* root);

// Scales the application font by factor (1.5: a desktop with larger fonts) for as long as the
// object lives, and restores the old font after.
class ScopedFontScale {
  public:
    explicit ScopedFontScale(double factor);
    ~ScopedFontScale();
    ScopedFontScale(const ScopedFontScale&) = delete;
    ScopedFontScale& operator=(const ScopedFontScale&) = delete;

  private:
    double oldPointSize_;
};

}  // namespace testsupport
