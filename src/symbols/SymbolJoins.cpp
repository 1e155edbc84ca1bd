#include "symbols/SymbolJoins.h"

#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolShapes.h"

#include <utility>

namespace vellumor {

namespace {

constexpr SideSet E = sideBit(Side::East);
constexpr SideSet W = sideBit(Side::West);

using G = GateMaterial;

// Each piece of a picture names the neighbours its picture continues into,
// read from the shapes: a fixed picture's piece its grid neighbour, a lake
// corner water or the next corner toward the lake's middle, a long house piece
// any long house piece to its east or west. Sides are listed as a reader
// meets the neighbours: above, left, right, below.
constexpr std::array<Side, 4> kReadingOrder {Side::North, Side::West, Side::East, Side::South};

template<typename Visit> constexpr void visitPartners(Visit visit)
{
    for (const PictureShape *each : kPictureShapes) {
        const PictureShape &shape = *each;
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

} // namespace

const char *sideName(Side side)
{
    static constexpr const char *kNames[] = {"north", "east", "south", "west"};
    return kNames[unsigned(side)];
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
        const SymbolJoins &joins = symbolJoins(code);
        if (!joins.junction && joins.river == sides && sides != 0)
            return SymbolCode(code);
    }
    return 0;
}

SymbolCode wallPiece(SideSet sides)
{
    for (int code = 0; code <= kHighestSymbolCode; ++code) {
        const SymbolJoins &joins = symbolJoins(code);
        if (!joins.junction && joins.gate == G::None && joins.wall == sides && sides != 0)
            return SymbolCode(code);
    }
    return 0;
}

SymbolCode gatePiece(GateMaterial material, SideSet wallSides)
{
    for (int code = 0; code <= kHighestSymbolCode; ++code) {
        const SymbolJoins &joins = symbolJoins(code);
        if (material != G::None && joins.gate == material && joins.wall == wallSides)
            return SymbolCode(code);
    }
    return 0;
}

} // namespace vellumor
