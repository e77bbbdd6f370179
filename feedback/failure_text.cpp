#include "feedback/failure_text.h"

#include <exception>

namespace feedback {

namespace {

// The words of the exception being handled, when called inside a catch block.
QString reasonBeingHandled() {
    const std::exception_ptr current = std::current_exception();
    if (!current) return {};
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what()).trimmed();
    } catch (...) {
        return {};
    }
}

}  // namespace

QString FailureText(const QString& message) {
    QString text = message;
    if (const QString reason = reasonBeingHandled(); !reason.isEmpty() && !message.contains(reason))
        text += '\n' + reason;
    return text;
}

}  // namespace feedback
