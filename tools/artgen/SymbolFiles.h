#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <optional>

namespace vellumor::art {

// Reads the 64 stored symbol pictures of a resources directory; nothing if any
// is missing or unreadable (the message says which).
struct StoredSymbols
{
    std::optional<std::array<QImage, 65>> pictures;
    QString error;
};
StoredSymbols readStoredSymbols(const QString &resourcesDir);

} // namespace vellumor::art
