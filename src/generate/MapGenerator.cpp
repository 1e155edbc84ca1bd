#include "generate/MapGenerator.h"

#include "rules/MapLint.h"
#include "rules/MapProperties.h"

#include "generate/Builders.h"
#include "generate/KeptDrawing.h"
#include "generate/MapLooks.h"
#include "generate/Recipes.h"
#include "rules/MapCells.h"

#include <algorithm>

namespace vellumor::generate {

namespace {

using rules::brokenProperty;
using rules::errorCount;
using rules::lintMap;
using rules::Severity;

using Recipe = bool (*)(Sketch &, SeededRandom &, const MapChoices &);

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

// The kept cells the attempts wanted most for something of their own, at most
// a few, in cell order; the first kept cell when none was wanted.
QList<Finding> keptInTheWay(
    const MapCodes &kept, const std::array<int, kCellCount> &wanted, MapKind kind)
{
    constexpr int kMostNamed = 8;
    const int most = *std::max_element(wanted.begin(), wanted.end());
    QList<Finding> findings;
    kWholeMap.forEach([&](CellPlace place) {
        const int code = codeAt(kept, place.column, place.row);
        const int times = wanted[std::size_t(readingIndex(place))];
        const bool named = most > 0 ? 2 * times >= most : findings.isEmpty();
        if (code == kBlankSymbol || !named || findings.size() >= kMostNamed)
            return;
        findings.append(
            {place.column, place.row, Severity::Error, QStringLiteral("kept-in-the-way"),
                QStringLiteral("no %1 could be built around the kept %2")
                    .arg(mapKindName(kind), quotedName(code))});
    });
    return findings;
}

} // namespace

QString refusal(MapKind kind, const MapChoices &choices, const MapCodes &kept)
{
    const Sketch sketch(kept);
    if (kind == MapKind::Fort && keptRiverAcross(sketch))
        return QStringLiteral("a fort stands in the desert, where no river runs: the river drawn "
                              "across the map leaves no room for one");
    WallRing ring;
    if (kind == MapKind::Valley || !keptWallRing(sketch, ring))
        return {};
    if (ring.gateCount == 0)
        return QStringLiteral("the kept wall ring has no gate: draw one where the ring opens");
    if (choices.gates > 0 && choices.gates != ring.gateCount)
        return QStringLiteral("the kept wall ring has %1 gate%2, not the %3 asked for: kept cells "
                              "are never changed")
            .arg(ring.gateCount)
            .arg(ring.gateCount == 1 ? QString() : QStringLiteral("s"))
            .arg(choices.gates);
    return {};
}

std::optional<MapCodes> generateMap(MapKind kind, std::uint64_t seed, int attempts)
{
    return generateAround(kind, seed, {}, MapCodes {}, attempts).codes;
}

Generated generateAround(
    MapKind kind, std::uint64_t seed, const MapChoices &choices, const MapCodes &kept, int attempts)
{
    if (QString why = refusal(kind, choices, kept); !why.isEmpty())
        return {std::nullopt, {}, why};
    const Recipe recipe = recipeOf(kind);
    std::array<int, kCellCount> wanted {};
    for (int attempt = 0; attempt < attempts; ++attempt) {
        SeededRandom random(seed, std::uint32_t(attempt));
        Sketch sketch(kept);
        const bool drawn = recipe(sketch, random, choices);
        kWholeMap.forEach([&](CellPlace place) {
            wanted[std::size_t(readingIndex(place))] += sketch.timesInTheWay(place);
        });
        if (!drawn)
            continue;
        const MapCodes codes = sketch.codes();
        // The recipes build every piece to fit; these checks turn away the
        // rare attempt where pieces drawn by chance got in each other's way.
        // Warnings of the user's own drawing are theirs to keep, and so is
        // how it looks.
        if (brokenProperty(codes, kind) != nullptr
            || (sketch.hasKept() ? errorCount(codes) > 0
                                 : !lintMap(codes).isEmpty() || missedGoal(codes, kind)))
            continue;
        return {codes, {}, {}};
    }
    return {std::nullopt, keptInTheWay(kept, wanted, kind), {}};
}

} // namespace vellumor::generate
