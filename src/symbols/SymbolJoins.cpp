#include "symbols/SymbolJoins.h"

#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolShapes.h"

#include <utility>

namespace vellumor {

namespace {

constexpr SideSet N = sideBit(Side::North);
constexpr SideSet E = sideBit(Side::East);
constexpr SideSet S = sideBit(Side::South);
constexpr SideSet W = sideBit(Side::West);
constexpr SideSet kNone = 0;

using G = GateMaterial;

constexpr SymbolJoins ground {kNone, kNone, false, G::None, false, false, true};
constexpr SymbolJoins solid {};
constexpr SymbolJoins trees {kNone, kNone, false, G::None, false, true, true};
constexpr SymbolJoins water {kNone, kNone, false, G::None, true, false, false};
constexpr SymbolJoins river(SideSet sides)
{
    return {sides, kNone, false, G::None, false, false, false};
}
constexpr SymbolJoins wall(SideSet sides)
{
    return {kNone, sides, false, G::None, false, false, false};
}
constexpr SymbolJoins gate(SideSet sides, GateMaterial material)
{
    return {kNone, sides, false, material, false, false, true};
}
constexpr SymbolJoins guardPost {kNone, kAllSides, true, G::None, false, false, false};
constexpr SymbolJoins pond {kAllSides, kNone, true, G::None, true, false, false};

// Indexed by code; the names beside them are the catalog's.
constexpr std::array<SymbolJoins, kHighestSymbolCode + 1> kJoins {{
    ground, // 0 Empty Square
    solid, solid, solid, solid, // 1-4 House, Shack, Shop, General Store
    solid, solid, solid, solid, // 5-8 Inn: Top Left, Top Right; Long House: Windows, Door
    solid, solid, solid, solid, // 9-12 Inn: Bottom Left, Bottom Right; Long House: Tavern; Stables
    solid, solid, ground, solid, // 13-16 Church: Left Side, Right Side; Cemetary; Well
    solid, solid, solid, solid, // 17-20 Castle: Top Left, Center, Right; Tower: Top
    solid, solid, solid, solid, // 21-24 Castle: Bottom Left, Center, Right; Tower: Bottom
    water, water, water, river(E | W), // 25-28 Water; Lake: Top Left, Top Right; River: Horizontal
    water, pond, water,
    river(N | S), // 29-32 Lake: Bottom Left; Pond/River Joint; Lake: Bottom Right; River: Vertical
    river(N | E), river(N | W), river(S | E), river(S | W), // 33-36 River turns
    trees, trees, trees, trees, // 37-40 Trees
    {kNone, kNone, false, G::None, false, true, false}, // 41 Mountain
    {kNone, kNone, false, G::None, false, true, false}, // 42 Mountain: Cave
    {kNone, kNone, false, G::None, false, true, false}, // 43 Volcano
    trees, // 44 Hills: walkable high ground
    ground, ground, ground, solid, // 45-48 Sand, with scrub, with palm tree; wagon
    ground, ground, ground, ground, // 49-52 Swamp; Cemetary: Destroyed; Plains: Grass, Dry Grass
    wall(S | E), wall(E | W), wall(S | W),
    wall(N | S), // 53-56 Wall: S-E, Horizontal, S-W, Vertical
    wall(N | E), gate(E | W, G::Wood), wall(N | W), gate(N | S, G::Wood), // 57-60
    guardPost, gate(E | W, G::Iron), guardPost, gate(N | S, G::Iron), // 61-64
}};

// Each piece of a picture names the neighbours its picture continues into,
// read from the shapes: a fixed picture's piece its grid neighbour, a lake
// corner water or the next corner toward the lake's middle, a long house piece
// any long house piece to its east or west. Sides are listed as a reader
// meets the neighbours: above, left, right, below.
constexpr std::array<Side, 4> kReadingOrder {Side::North, Side::West, Side::East, Side::South};

template<typename Visit> constexpr void visitPartners(Visit visit)
{
    for (const PictureShape &shape : kPictureShapes) {
        for (int row = 0; row < shape.rows; ++row) {
            for (int column = 0; column < shape.columns; ++column) {
                const SymbolCode code = shape.at(column, row);
                if (shape.kind == ShapeKind::Run) {
                    visit(PiecePartner {code, E | W, shape.pieces[0], shape.rule, false, &shape});
                    continue;
                }
                for (const Side side : kReadingOrder) {
                    const SymbolCode partner
                        = shape.at(column + columnStep(side), row + rowStep(side));
                    if (code == sym::Blank || partner == sym::Blank)
                        continue;
                    const bool fixed = shape.kind == ShapeKind::Fixed;
                    visit(PiecePartner {code, sideBit(side),
                        fixed ? std::array<SymbolCode, 3> {partner, 0, 0}
                              : std::array<SymbolCode, 3> {shape.fill, partner, 0},
                        shape.rule, fixed, &shape});
                }
            }
        }
    }
}

constexpr std::size_t partnerCount()
{
    std::size_t count = 0;
    visitPartners([&](const PiecePartner &) { ++count; });
    return count;
}

constexpr auto kAllPartners = [] {
    std::array<PiecePartner, partnerCount()> partners {};
    std::size_t next = 0;
    visitPartners([&](const PiecePartner &partner) { partners[next++] = partner; });
    // In code order, each code's needs in the order they were met.
    for (std::size_t i = 1; i < partners.size(); ++i) {
        for (std::size_t j = i; j > 0 && partners[j].code < partners[j - 1].code; --j)
            std::swap(partners[j], partners[j - 1]);
    }
    return partners;
}();
// Where each code's needs start in kAllPartners, and how many there are.
constexpr auto kPartnerRanges = [] {
    std::array<std::pair<std::uint8_t, std::uint8_t>, kHighestSymbolCode + 1> ranges {};
    for (std::size_t i = 0; i < kAllPartners.size(); ++i) {
        auto &range = ranges[std::size_t(kAllPartners[i].code)];
        if (range.second == 0)
            range.first = std::uint8_t(i);
        ++range.second;
    }
    return ranges;
}();

constexpr SymbolJoins kNothing {};

} // namespace

const char *sideName(Side side)
{
    static constexpr const char *kNames[] = {"north", "east", "south", "west"};
    return kNames[unsigned(side)];
}

const SymbolJoins &symbolJoins(int code)
{
    return isSymbolCode(code) ? kJoins[std::size_t(code)] : kNothing;
}

std::span<const PiecePartner> piecePartners()
{
    return kAllPartners;
}

std::span<const PiecePartner> piecePartners(int code)
{
    if (!isSymbolCode(code))
        return {};
    const auto range = kPartnerRanges[std::size_t(code)];
    return std::span<const PiecePartner>(kAllPartners).subspan(range.first, range.second);
}

bool isBuilding(int code)
{
    const auto info = symbolInfo(code);
    return info && info->set == SymbolSet::Town && !symbolJoins(code).walkable;
}

bool isLake(int code)
{
    const ShapePlace place = shapePlace(code);
    return code == sym::Water || (place.shape && place.shape->kind == ShapeKind::Frame);
}

bool blocksSight(int code)
{
    switch (code) {
    case sym::TreesEvergreen:
    case sym::TreesDeciduous:
    case sym::TreesOldEvergreen:
    case sym::Mountain:
    case sym::MountainCave:
    case sym::Volcano:
        return true;
    default:
        return (isBuilding(code) && code != sym::Well) || symbolJoins(code).wall != 0;
    }
}

SymbolCode riverPiece(SideSet sides)
{
    for (int code = 0; code <= kHighestSymbolCode; ++code) {
        const SymbolJoins &joins = kJoins[std::size_t(code)];
        if (!joins.junction && joins.river == sides && sides != 0)
            return SymbolCode(code);
    }
    return 0;
}

SymbolCode wallPiece(SideSet sides)
{
    for (int code = 0; code <= kHighestSymbolCode; ++code) {
        const SymbolJoins &joins = kJoins[std::size_t(code)];
        if (!joins.junction && joins.gate == G::None && joins.wall == sides && sides != 0)
            return SymbolCode(code);
    }
    return 0;
}

SymbolCode gatePiece(GateMaterial material, SideSet wallSides)
{
    for (int code = 0; code <= kHighestSymbolCode; ++code) {
        const SymbolJoins &joins = kJoins[std::size_t(code)];
        if (material != G::None && joins.gate == material && joins.wall == wallSides)
            return SymbolCode(code);
    }
    return 0;
}

} // namespace vellumor
