#pragma once
// The one way a failure is put into words for the user.

#include <QString>

namespace feedback {

// The message; called inside a catch block, the reason of the exception being handled follows
// on a line of its own (unless the message already says it).
QString FailureText(const QString& message);

}  // namespace feedback
