#pragma once

#include "document/Standard.h"

#include <QList>
#include <QString>

namespace vellumor::mapcraft {

enum class Severity { Error, Warning };

// One problem at one cell, or at two where two pieces fail to join and
// neither is more at odds with its neighbours than the other. Columns and rows
// are counted from 0 at the top left as diff counts them.
struct Finding
{
    int column = 0;
    int row = 0;
    Severity severity = Severity::Error;
    QString rule; // stable name, such as "church-incomplete" or "river-open-end"
    QString message; // "\"Church: Left Side\" has no \"Church: Right Side\" to its east"
    // The second cell, after the first in cell order; -1 when there is one.
    int otherColumn = -1;
    int otherRow = -1;

    bool hasTwoCells() const { return otherColumn >= 0; }

    friend bool operator==(const Finding &, const Finding &) = default;
};

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

} // namespace vellumor::mapcraft
