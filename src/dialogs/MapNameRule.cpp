#include "dialogs/MapNameRule.h"

namespace vellumor {

QString withMapSuffix(const QString &name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return name + QStringLiteral(".map");
    return name.left(dot + 1) + QStringLiteral("map");
}

} // namespace vellumor
