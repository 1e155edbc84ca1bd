#pragma once

#include "document/Standard.h"

#include <QByteArray>

namespace vellumor::mapexport {

// Pixels per cell of the map picture: 100 suits most virtual tabletops. Below 50
// Foundry raises the scene's grid on its own (its importer starts at 50), so the
// squares would no longer match the cells; beyond 200 the picture outgrows what
// tabletops load comfortably.
inline constexpr int kDefaultGridSize = 100;
inline constexpr int kMinGridSize = 50;
inline constexpr int kMaxGridSize = 200;

// The map as a Universal VTT file (format 0.3): the picture, 35 x 25 cells of
// pixelsPerGrid pixels each, cell edges on multiples of it and the pictures
// enlarged without smoothing; the walls as polylines of sight and the gates as
// closed portals, all in cells. Every list a reader may walk is present, empty
// or not.
QByteArray encodeUvtt(const MapCodes &codes, int pixelsPerGrid);

} // namespace vellumor::mapexport
