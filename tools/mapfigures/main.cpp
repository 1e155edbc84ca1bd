// vellumor-mapfigures table [SEEDS]   a Markdown table of what the maps of
//                                     each kind hold over seeds 0 to SEEDS - 1
// vellumor-mapfigures picture OUT.png one map of each kind, two by two, as the
//                                     editor shows them
// vellumor-mapfigures looks [SEEDS]   what a game master sees in them
// vellumor-mapfigures rejections [SEEDS]  why first attempts were turned away
#include "document/CellGrid.h"
#include "generate/MapGenerator.h"
#include "generate/MapLooks.h"
#include "generate/Recipes.h"
#include "generate/TerrainKinds.h"
#include "mapview/MapRenderer.h"
#include "rules/EdgeReach.h"
#include "rules/MapLint.h"
#include "rules/MapProperties.h"
#include "symbols/SymbolJoins.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

using namespace vellumor;
using namespace vellumor::rules;
using namespace vellumor::generate;

namespace {

// Cells a wall shuts off from the map's edge, the walls themselves included.
int walledCells(const MapCodes &codes)
{
    const rules::EdgeReach reached
        = rules::reachFromEdge(codes, [](int code) { return symbolJoins(code).wall == 0; });
    return kCellCount - int(reached.count());
}

int countCells(const MapCodes &codes, bool (*counts)(int))
{
    return int(std::count_if(codes.begin(), codes.end(), counts));
}

bool isRiver(int code)
{
    return symbolJoins(code).river != 0;
}

QString spread(std::vector<int> values)
{
    std::sort(values.begin(), values.end());
    return QStringLiteral("%1 / %2 / %3")
        .arg(values.front())
        .arg(values[values.size() / 2])
        .arg(values.back());
}

int table(int seeds)
{
    QTextStream out(stdout);
    out << "| kind | walled cells | building cells | river cells | lake cells | distinct maps "
           "| made at the first attempt | most attempts |\n"
           "|---|---|---|---|---|---|---|---|\n";
    for (const MapKind kind : kMapKinds) {
        std::vector<int> walled, buildings, rivers, lakes;
        QSet<QByteArray> distinct;
        int firstTry = 0;
        int mostAttempts = 0;
        for (int seed = 0; seed < seeds; ++seed) {
            const auto codes = generateMap(kind, std::uint64_t(seed));
            if (!codes) {
                out << "no map from seed " << seed << Qt::endl;
                return 1;
            }
            walled.push_back(walledCells(*codes));
            buildings.push_back(countCells(*codes, isBuilding));
            rivers.push_back(countCells(*codes, isRiver));
            lakes.push_back(countCells(*codes, isLake));
            distinct.insert(
                QByteArray(reinterpret_cast<const char *>(codes->data()), sizeof(MapCodes)));
            int attempts = 1;
            while (!generateMap(kind, std::uint64_t(seed), attempts))
                ++attempts;
            firstTry += attempts == 1 ? 1 : 0;
            mostAttempts = std::max(mostAttempts, attempts);
        }
        out << "| " << mapKindName(kind) << " | " << spread(walled) << " | " << spread(buildings)
            << " | " << spread(rivers) << " | " << spread(lakes) << " | " << distinct.size()
            << " of " << seeds << " | " << (100.0 * firstTry / seeds) << " % | " << mostAttempts
            << " |\n";
    }
    out << "\nEach figure is the least / the median / the most over seeds 0 to " << seeds - 1
        << ", generator version " << kGeneratorVersion << ".\n";
    return 0;
}

// The columns with a mountain in the top four rows: the fort's ridge, from
// its first column to its last.
int ridgeLength(const MapCodes &codes)
{
    int first = kMapColumns, last = -1;
    for (int column = 0; column < kMapColumns; ++column) {
        for (int row = 0; row < 4; ++row) {
            if (isHighland(codes[std::size_t(cellIndex(column, row))]))
                first = std::min(first, column), last = std::max(last, column);
        }
    }
    return last < 0 ? 0 : last - first + 1;
}

int cellsApart(const MapCodes &a, const MapCodes &b)
{
    int apart = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        apart += a[i] != b[i] ? 1 : 0;
    return apart;
}

// What a game master sees: wells, volcanoes, lone terrain cells and holes,
// ridges, walls that are not rectangles, and how far apart neighbouring
// seeds' maps are.
int looks(int seeds)
{
    QTextStream out(stdout);
    out << "| kind | wells | volcanoes | cells of patches under 3 | holes | lone dead trees | "
           "river runs between bends | longest river run | buildings | fort's ridge | walls not "
           "rectangles | cells apart (seed, seed + 1) |\n"
           "|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const MapKind kind : kMapKinds) {
        std::vector<int> wells, volcanoes, lone, holes, deadTrees, bendRuns, longestRuns, buildings,
            ridges, apart;
        int shaped = 0, walled = 0;
        std::optional<MapCodes> previous;
        for (int seed = 0; seed < seeds; ++seed) {
            const auto codes = generateMap(kind, std::uint64_t(seed));
            if (!codes)
                return 1;
            wells.push_back(cellsOf(*codes, sym::Well));
            volcanoes.push_back(cellsOf(*codes, sym::Volcano));
            lone.push_back(loneTerrainCells(*codes));
            holes.push_back(terrainHoles(*codes));
            deadTrees.push_back(loneDeadTrees(*codes));
            int longest = 0;
            for (const RiverRun &run : riverRuns(*codes)) {
                if (run.betweenBends)
                    bendRuns.push_back(run.length);
                longest = std::max(longest, run.length);
            }
            longestRuns.push_back(longest);
            buildings.push_back(buildingCount(*codes));
            if (kind == MapKind::Fort && ridgeLength(*codes) > 0)
                ridges.push_back(ridgeLength(*codes));
            if (wallCorners(*codes) > 0) {
                ++walled;
                shaped += wallCorners(*codes) > 4 ? 1 : 0;
            }
            if (previous)
                apart.push_back(cellsApart(*previous, *codes));
            previous = codes;
        }
        out << "| " << mapKindName(kind) << " | " << spread(wells) << " | " << spread(volcanoes)
            << " | " << spread(lone) << " | " << spread(holes) << " | " << spread(deadTrees)
            << " | " << (bendRuns.empty() ? QStringLiteral("-") : spread(bendRuns)) << " | "
            << spread(longestRuns) << " | " << spread(buildings) << " | "
            << (ridges.empty() ? QStringLiteral("-") : spread(ridges)) << " | "
            << (walled ? QString::number(100 * shaped / walled) + QStringLiteral(" %")
                       : QStringLiteral("-"))
            << " | " << spread(apart) << " |\n";
    }
    return 0;
}

// Each seed's first attempt, drawn and checked as the generator does, and
// what turned it away.
int rejections(int seeds)
{
    using Recipe = bool (*)(Sketch &, SeededRandom &, const MapChoices &);
    const Recipe recipes[] = {drawTown, drawFort, drawCastle, drawValley};
    QTextStream out(stdout);
    for (const MapKind kind : kMapKinds) {
        std::map<QString, int> reasons;
        for (int seed = 0; seed < seeds; ++seed) {
            SeededRandom random(std::uint64_t(seed), 0);
            Sketch sketch;
            if (!recipes[std::size_t(kind)](sketch, random, {})) {
                ++reasons[QStringLiteral("the recipe found no room")];
                continue;
            }
            if (const char *broken = brokenProperty(sketch.codes(), kind)) {
                ++reasons[QString::fromLatin1(broken)];
                continue;
            }
            const auto findings = lintMap(sketch.codes());
            if (!findings.isEmpty())
                ++reasons[QStringLiteral("lint: ") + findings.front().rule];
            else if (const char *missed = missedGoal(sketch.codes(), kind))
                ++reasons[QString::fromLatin1(missed)];
            else if (const char *missed = missedGoal(sketch.codes(), kind))
                ++reasons[QString::fromLatin1(missed)];
        }
        out << mapKindName(kind) << ":";
        for (const auto &[reason, count] : reasons)
            out << " " << reason << " (" << count << ")";
        out << (reasons.empty() ? " none\n" : "\n");
    }
    return 0;
}

int picture(const QString &file, std::uint64_t seed)
{
    MapRenderer renderer;
    QImage sheet;
    QPainter painter;
    const int gap = 8;
    for (std::size_t i = 0; i < kMapKinds.size(); ++i) {
        const auto codes = generateMap(kMapKinds[i], seed);
        if (!codes)
            return 1;
        const QImage map = renderer.renderImage(*codes, false, 1.0);
        if (sheet.isNull()) {
            sheet = QImage(2 * map.width() + gap, 2 * map.height() + gap, QImage::Format_RGB32);
            sheet.fill(Qt::white);
            painter.begin(&sheet);
        }
        painter.drawImage(int(i % 2) * (map.width() + gap), int(i / 2) * (map.height() + gap), map);
    }
    painter.end();
    return sheet.save(file) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 2 && arguments[1] == QLatin1String("table"))
        return table(arguments.size() > 2 ? arguments[2].toInt() : 1000);
    if (arguments.size() >= 2 && arguments[1] == QLatin1String("looks"))
        return looks(arguments.size() > 2 ? arguments[2].toInt() : 1000);
    if (arguments.size() >= 2 && arguments[1] == QLatin1String("rejections"))
        return rejections(arguments.size() > 2 ? arguments[2].toInt() : 1000);
    if (arguments.size() >= 3 && arguments[1] == QLatin1String("picture"))
        return picture(arguments[2], arguments.size() > 3 ? arguments[3].toULongLong() : 1);
    std::fputs(
        "usage: vellumor-mapfigures table [SEEDS] | looks [SEEDS] | rejections [SEEDS] | picture "
        "OUT.png [SEED]\n",
        stderr);
    return 2;
}
