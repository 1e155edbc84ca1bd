#pragma once

#include "symbols/SymbolNames.h"

#include <array>
#include <span>

namespace vellumor {

// The pictures that span several cells, each drawn here once: which pieces
// they are made of and where each piece stands. The join table's partner
// rows, the checker's picture rules, the fixer, the generator's buildings and
// the figures all read this table.

enum class ShapeKind : unsigned char {
    // Every piece at its own place in a grid of columns x rows.
    Fixed,
    // Four corners (the grid is 2 x 2) around any amount of `fill`; it may run
    // on beyond the map's edge.
    Frame,
    // A row of two or more of `pieces[0]`, in any order.
    Run
};

struct PictureShape
{
    const char *name; // "inn", as the picture is spoken of
    const char *rule; // the checker's rule for a piece missing its partner
    ShapeKind kind;
    int columns;
    int rows;
    // Rows from the top; Blank where the grid has no piece. A run lists its
    // pieces in the first row.
    std::array<std::array<SymbolCode, 3>, 2> pieces;
    SymbolCode fill = sym::Blank; // what a frame holds between its corners

    constexpr SymbolCode at(int column, int row) const
    {
        return column < 0 || row < 0 || column >= columns || row >= rows
            ? SymbolCode(sym::Blank)
            : pieces[std::size_t(row)][std::size_t(column)];
    }
};

inline constexpr PictureShape kInn {"inn", "inn-incomplete", ShapeKind::Fixed, 2, 2,
    {{{sym::InnTopLeft, sym::InnTopRight, sym::Blank},
        {sym::InnBottomLeft, sym::InnBottomRight, sym::Blank}}}};
inline constexpr PictureShape kChurch {"church", "church-incomplete", ShapeKind::Fixed, 2, 1,
    {{{sym::ChurchLeft, sym::ChurchRight, sym::Blank}, {}}}};
inline constexpr PictureShape kCastle {"castle", "castle-incomplete", ShapeKind::Fixed, 3, 2,
    {{{sym::CastleTopLeft, sym::CastleTopCenter, sym::CastleTopRight},
        {sym::CastleBottomLeft, sym::CastleBottomCenter, sym::CastleBottomRight}}}};
inline constexpr PictureShape kTower {"tower", "tower-incomplete", ShapeKind::Fixed, 1, 2,
    {{{sym::TowerTop, sym::Blank, sym::Blank}, {sym::TowerBottom, sym::Blank, sym::Blank}}}};
inline constexpr PictureShape kLake {"lake", "lake-incomplete", ShapeKind::Frame, 2, 2,
    {{{sym::LakeTopLeft, sym::LakeTopRight, sym::Blank},
        {sym::LakeBottomLeft, sym::LakeBottomRight, sym::Blank}}},
    sym::Water};
inline constexpr PictureShape kLongHouse {"long house", "longhouse-alone", ShapeKind::Run, 3, 1,
    {{{sym::LongHouseWindows, sym::LongHouseDoor, sym::LongHouseTavern}, {}}}};

// Every picture spanning cells, in the order the checker meets them.
inline constexpr std::array<const PictureShape *, 6> kPictureShapes {
    &kInn, &kChurch, &kCastle, &kTower, &kLake, &kLongHouse};

// Where a piece stands in its picture; shape is null for a code that is no
// piece of a picture spanning cells.
struct ShapePlace
{
    const PictureShape *shape = nullptr;
    int column = 0;
    int row = 0;
};

constexpr ShapePlace shapePlace(int code)
{
    if (code == sym::Blank)
        return {};
    for (const PictureShape *shape : kPictureShapes) {
        for (int row = 0; row < shape->rows; ++row) {
            for (int column = 0; column < shape->columns; ++column) {
                if (shape->at(column, row) == code)
                    return {shape, column, row};
            }
        }
    }
    return {};
}

} // namespace vellumor
