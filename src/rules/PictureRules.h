#pragma once

#include "document/Standard.h"
#include "rules/FindingSink.h"

#include <QList>

#include <utility>

namespace vellumor::rules {

// The findings of one cell that holds a piece of a picture spanning several
// cells: a partner missing from the side the picture continues to.
void appendPictureFindings(const MapCodes &codes, int column, int row, FindingSink &sink);

// The cells (index and code) that would complete the picture whose piece
// stands at the cell, when each of them is blank and on the map; empty when
// the picture is whole, has no single answer, or cannot be completed there.
QList<std::pair<int, SymbolCode>> pictureCompletion(const MapCodes &codes, int column, int row);

} // namespace vellumor::rules
