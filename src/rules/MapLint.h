#pragma once

#include "document/Standard.h"
#include "rules/Finding.h"

#include <QList>
#include <QString>

namespace vellumor::rules {

// Every problem of the map, in cell order (by row, then column, of a
// finding's first cell).
QList<Finding> lintMap(const MapCodes &codes);

// How many errors the rules find looking from one cell. Every error of the
// map is counted at exactly one cell, though it may be reported at a
// neighbouring one.
int cellErrorCount(const MapCodes &codes, int column, int row);

int errorCount(const QList<Finding> &findings);
// The errors lintMap finds, counted without writing their messages.
int errorCount(const MapCodes &codes);

// "error" or "warning".
QString severityName(Severity severity);

// The finding as lint prints it after the file name:
// "column 12, row 4: error: church-incomplete: ...", or with two cells
// "column 33, row 14 and column 33, row 15: error: river-misjoin: ...".
QString describe(const Finding &finding);

} // namespace vellumor::rules
