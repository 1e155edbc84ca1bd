#include "rules/MapLint.h"

#include "rules/JoinRules.h"
#include "rules/MapCells.h"
#include "rules/PictureRules.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolJoins.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vellumor::rules {

QString quotedName(int code)
{
    if (code == kBlankSymbol)
        return QStringLiteral("\"Blank\"");
    return QLatin1Char('"') + symbolName(code) + QLatin1Char('"');
}

int cellErrorCount(const MapCodes &codes, int column, int row)
{
    FindingSink sink;
    appendPictureFindings(codes, column, row, sink);
    appendJoinFindings(codes, column, row, sink);
    return sink.errors();
}

QList<Finding> lintMap(const MapCodes &codes)
{
    // Most cells hold ground, trees or a building of one cell, which no rule
    // looks at; passing over them quickly keeps lint close to reading the map.
    static const auto ruled = [] {
        std::array<bool, kHighestSymbolCode + 1> table {};
        for (int code = 0; code <= kHighestSymbolCode; ++code) {
            const SymbolJoins &joins = symbolJoins(code);
            table[std::size_t(code)]
                = joins.river != 0 || joins.wall != 0 || !piecePartners(code).empty();
        }
        return table;
    }();
    QList<Finding> findings;
    FindingSink sink(findings);
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const int code = codes[std::size_t(cellIndex(column, row))];
            if (isSymbolCode(code) && !ruled[std::size_t(code)])
                continue;
            appendPictureFindings(codes, column, row, sink);
            appendJoinFindings(codes, column, row, sink);
        }
    }
    // A misjoin may be reported at the neighbour of the cell it was found from.
    std::stable_sort(findings.begin(), findings.end(), [](const Finding &a, const Finding &b) {
        return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    });
    return findings;
}

int errorCount(const QList<Finding> &findings)
{
    return int(std::count_if(findings.cbegin(), findings.cend(),
        [](const Finding &finding) { return finding.severity == Severity::Error; }));
}

int errorCount(const MapCodes &codes)
{
    int errors = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            errors += cellErrorCount(codes, column, row);
    }
    return errors;
}

QString severityName(Severity severity)
{
    return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

QString describe(const Finding &finding)
{
    QString cells = QStringLiteral("column %1, row %2").arg(finding.column).arg(finding.row);
    if (finding.hasTwoCells())
        cells += QStringLiteral(" and column %1, row %2")
                     .arg(finding.otherColumn)
                     .arg(finding.otherRow);
    return QStringLiteral("%1: %2: %3: %4")
        .arg(cells, severityName(finding.severity), finding.rule, finding.message);
}

} // namespace vellumor::rules
