#pragma once

#include <QString>

namespace vellumor {

// Gives a name the map suffix: whatever follows its first "." becomes "map",
// and a name without a "." gets ".map" appended. Applying it twice changes
// nothing more than applying it once.
QString withMapSuffix(const QString &name);

} // namespace vellumor
