#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace vellumor {

inline constexpr int kMapColumns = 35;
inline constexpr int kMapRows = 25;
inline constexpr int kCellCount = kMapColumns * kMapRows;

using SymbolCode = qint16;
using MapCodes = std::array<SymbolCode, kCellCount>;

// The codes the catalog knows: 0 is the Blank symbol, 1 to 64 are drawn symbols.
inline constexpr SymbolCode kBlankSymbol = 0;
inline constexpr SymbolCode kHighestSymbolCode = 64;

constexpr bool isSymbolCode(int code)
{
    return code >= kBlankSymbol && code <= kHighestSymbolCode;
}

// The one map being edited. The parts of the program share it by reference and
// change it directly; MapCells changes only through PaintCell so that the view
// always shows what it holds.
struct Standard
{
    MapCodes MapCells {};
    SymbolCode CurrentSymbol = kBlankSymbol;
    QString MapDirectory;
    QString MapFileName;

    bool hasCurrentFile() const { return !MapDirectory.isEmpty() && !MapFileName.isEmpty(); }
};

} // namespace vellumor
