#include "rules/MapKind.h"

namespace vellumor::rules {

QString mapKindName(MapKind kind)
{
    switch (kind) {
    case MapKind::Town:
        return QStringLiteral("town");
    case MapKind::Fort:
        return QStringLiteral("fort");
    case MapKind::Castle:
        return QStringLiteral("castle");
    case MapKind::Valley:
        break;
    }
    return QStringLiteral("valley");
}

std::optional<MapKind> mapKindNamed(const QString &name)
{
    for (const MapKind kind : kMapKinds) {
        if (name == mapKindName(kind))
            return kind;
    }
    return std::nullopt;
}

} // namespace vellumor::rules
