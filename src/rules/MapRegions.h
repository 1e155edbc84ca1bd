#pragma once

#include "document/CellGrid.h"
#include "document/Standard.h"

#include <vector>

namespace vellumor::rules {

// The cells a cell belongs to by what the map means there, read from the
// symbols' join table:
// - Picture: the whole picture that spans cells (an inn, a church, a castle
//   with its towers, a lake with its corners and its water); one cell for a
//   symbol drawn in one.
// - Walk: every cell a person can walk to from it without passing a wall or a
//   gate, with the cells that bound it (walls, gates, buildings, water). From
//   a gate, both sides of it. Nothing from a cell no one can stand in.
// - Run: a river or a wall with all its joined pieces, gates and guard posts
//   included; nothing from a cell that is neither.
enum class RegionKind { Picture, Walk, Run };

// The result is in reading order (row by row from the top), without repeats.
std::vector<CellPlace> mapRegion(const MapCodes &codes, CellPlace start, RegionKind kind);

} // namespace vellumor::rules
