#pragma once

#include <QString>

#include <variant>

namespace vellumor {

// Opens path for reading without blocking, and only if it is a regular file,
// so that a pipe, a device or a folder named like a map is refused at once.
// Gives the open descriptor, which the caller closes, or why it was refused;
// notA names what the file was meant to be ("a map file").
std::variant<int, QString> openRegularFile(const QString &path, const QString &notA);

} // namespace vellumor
