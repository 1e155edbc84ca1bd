#include "mapcraft/MapGenerator.h"

#include "mapcraft/MapLint.h"
#include "mapcraft/MapProperties.h"
#include "mapcraft/Recipes.h"

namespace vellumor::mapcraft {

namespace {

using Recipe = bool (*)(Sketch &, SeededRandom &);

Recipe recipeOf(MapKind kind)
{
    switch (kind) {
    case MapKind::Town:
        return drawTown;
    case MapKind::Fort:
        return drawFort;
    case MapKind::Castle:
        return drawCastle;
    case MapKind::Valley:
        break;
    }
    return drawValley;
}

} // namespace

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

std::optional<MapCodes> generateMap(MapKind kind, std::uint64_t seed, int attempts)
{
    const Recipe recipe = recipeOf(kind);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        SeededRandom random(seed, std::uint32_t(attempt));
        Sketch sketch;
        if (!recipe(sketch, random))
            continue;
        const MapCodes codes = sketch.codes();
        // The recipes build every piece to fit; these checks turn away the
        // rare attempt where pieces drawn by chance got in each other's way.
        if (brokenProperty(codes, kind) != nullptr || !lintMap(codes).isEmpty())
            continue;
        return codes;
    }
    return std::nullopt;
}

} // namespace vellumor::mapcraft
