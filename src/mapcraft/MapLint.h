#pragma once

#include "document/Standard.h"

#include <QList>
#include <QString>

namespace vellumor::mapcraft {

enum class Severity { Error, Warning };

// One problem at one cell, columns and rows counted from 0 at the top left as
// diff counts them.
struct Finding
{
    int column = 0;
    int row = 0;
    Severity severity = Severity::Error;
    QString rule; // stable name, such as "church-incomplete" or "river-open-end"
    QString message; // "\"Church: Left Side\" has no \"Church: Right Side\" to its east"

    friend bool operator==(const Finding &, const Finding &) = default;
};

// Every problem of the map, in cell order (by row, then column).
QList<Finding> lintMap(const MapCodes &codes);

// The problems found at one cell, in the order lintMap lists them.
QList<Finding> cellFindings(const MapCodes &codes, int column, int row);
// How many of them are errors; quicker than counting cellFindings.
int cellErrorCount(const MapCodes &codes, int column, int row);

int errorCount(const QList<Finding> &findings);
// The errors lintMap finds, counted without writing their messages.
int errorCount(const MapCodes &codes);

// "error" or "warning".
QString severityName(Severity severity);

// The finding as lint prints it after the file name:
// "column 12, row 4: error: church-incomplete: ...".
QString describe(const Finding &finding);

} // namespace vellumor::mapcraft
