#pragma once
// How a query run fails: a step throws, and the run's boundary tells the user once, with the
// fixed text of the procedure that failed and the reason that made it fail.

#include <QString>
#include <exception>
#include <stdexcept>
#include <utility>

namespace siting {

// A procedure failed; text is what the user is told. The exception that made it fail, if any,
// is nested in it.
class Failure : public std::runtime_error {
  public:
    explicit Failure(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

// Runs a procedure's step: what it throws goes on as a Failure told as text, the cause nested.
// The Failure of a procedure it calls goes on as it is: the innermost procedure is the one named.
template <class Step>
decltype(auto) failingAs(const QString& text, Step&& step) {
    try {
        return std::forward<Step>(step)();
    } catch (const Failure&) {
        throw;
    } catch (...) {
        std::throw_with_nested(Failure(text));
    }
}

}  // namespace siting
