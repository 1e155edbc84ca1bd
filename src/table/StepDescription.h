#pragma once

#include "table/ClientMessage.h"
#include "table/TableState.h"

#include <QString>

namespace vellumor::table {

// What a command did to a map, in a few words for the GM's undo and redo:
// "revealed the inn", "hid 3 cells", "prepared 12 cells". codes are the map's,
// in the map file's order; before and after its state around the command.
QString describeStep(
    const GmCommand &command, const MapCodes &codes, const MapState &before, const MapState &after);

} // namespace vellumor::table
