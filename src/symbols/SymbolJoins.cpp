#include "symbols/SymbolJoins.h"

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

constexpr std::array<SymbolCode, 3> one(SymbolCode code)
{
    return {code, 0, 0};
}

// Each piece names the neighbour its picture continues into. Lakes frame
// water, which may be open water or the next corner; long house pieces share
// their side edges with each other in any order.
constexpr std::array<PiecePartner, 37> kAllPartners {{
    {5, E, one(6), "inn-incomplete", true},
    {5, S, one(9), "inn-incomplete", true},
    {6, W, one(5), "inn-incomplete", true},
    {6, S, one(10), "inn-incomplete", true},
    {7, E | W, {7, 8, 11}, "longhouse-alone", false},
    {8, E | W, {7, 8, 11}, "longhouse-alone", false},
    {9, N, one(5), "inn-incomplete", true},
    {9, E, one(10), "inn-incomplete", true},
    {10, N, one(6), "inn-incomplete", true},
    {10, W, one(9), "inn-incomplete", true},
    {11, E | W, {7, 8, 11}, "longhouse-alone", false},
    {13, E, one(14), "church-incomplete", true},
    {14, W, one(13), "church-incomplete", true},
    {17, E, one(18), "castle-incomplete", true},
    {17, S, one(21), "castle-incomplete", true},
    {18, W, one(17), "castle-incomplete", true},
    {18, E, one(19), "castle-incomplete", true},
    {18, S, one(22), "castle-incomplete", true},
    {19, W, one(18), "castle-incomplete", true},
    {19, S, one(23), "castle-incomplete", true},
    {20, S, one(24), "tower-incomplete", true},
    {21, N, one(17), "castle-incomplete", true},
    {21, E, one(22), "castle-incomplete", true},
    {22, N, one(18), "castle-incomplete", true},
    {22, W, one(21), "castle-incomplete", true},
    {22, E, one(23), "castle-incomplete", true},
    {23, N, one(19), "castle-incomplete", true},
    {23, W, one(22), "castle-incomplete", true},
    {24, N, one(20), "tower-incomplete", true},
    {26, E, {25, 27, 0}, "lake-incomplete", false},
    {26, S, {25, 29, 0}, "lake-incomplete", false},
    {27, W, {25, 26, 0}, "lake-incomplete", false},
    {27, S, {25, 31, 0}, "lake-incomplete", false},
    {29, N, {25, 26, 0}, "lake-incomplete", false},
    {29, E, {25, 31, 0}, "lake-incomplete", false},
    {31, N, {25, 27, 0}, "lake-incomplete", false},
    {31, W, {25, 29, 0}, "lake-incomplete", false},
}};
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

constexpr bool partnersAreInCodeOrder()
{
    for (std::size_t i = 1; i < kAllPartners.size(); ++i) {
        if (kAllPartners[i].code < kAllPartners[i - 1].code)
            return false;
    }
    return true;
}
static_assert(partnersAreInCodeOrder());

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
