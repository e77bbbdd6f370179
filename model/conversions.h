#pragma once
// Texts of the window to the model's values.

#include <QString>
#include <filesystem>
#include <optional>

namespace model {

// A number typed in the user's format, read as single precision; nothing when the text is none.
std::optional<float> ReadNumber(const QString& text);
// A file path for the model (UTF-8).
std::filesystem::path ToPath(const QString& path);

}  // namespace model
