#pragma once

#include "document/Standard.h"

namespace vellumor::sym {

// Every symbol by name. The catalog's rows are written with these names and
// checked at compile time to stand at their own code, so a name can never
// drift from the symbol it stands for. Code outside the catalog and the join
// table names symbols this way, never by a bare number.
enum Code : SymbolCode {
    Blank = 0,
    House,
    Shack,
    Shop,
    GeneralStore,
    InnTopLeft,
    InnTopRight,
    LongHouseWindows,
    LongHouseDoor,
    InnBottomLeft,
    InnBottomRight,
    LongHouseTavern,
    Stables,
    ChurchLeft,
    ChurchRight,
    Cemetery,
    Well,
    CastleTopLeft,
    CastleTopCenter,
    CastleTopRight,
    TowerTop,
    CastleBottomLeft,
    CastleBottomCenter,
    CastleBottomRight,
    TowerBottom,
    Water,
    LakeTopLeft,
    LakeTopRight,
    RiverHorizontal,
    LakeBottomLeft,
    PondRiverJoint,
    LakeBottomRight,
    RiverVertical,
    RiverNE,
    RiverNW,
    RiverSE,
    RiverSW,
    TreesEvergreen,
    TreesDeciduous,
    TreesOldEvergreen,
    TreesDead,
    Mountain,
    MountainCave,
    Volcano,
    Hills,
    Sand,
    SandScrub,
    SandPalm,
    Wagon,
    Swamp,
    CemeteryDestroyed,
    Grass,
    DryGrass,
    WallSE,
    WallHorizontal,
    WallSW,
    WallVertical,
    WallNE,
    WoodenGateHorizontal,
    WallNW,
    WoodenGateVertical,
    GuardPostSquare,
    IronGateHorizontal,
    GuardPostRound,
    IronGateVertical
};
static_assert(IronGateVertical == kHighestSymbolCode, "one name for every code");

} // namespace vellumor::sym
