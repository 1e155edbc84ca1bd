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
};

// Every problem of the map, in cell order (by row, then column).
QList<Finding> lintMap(const MapCodes &codes);

} // namespace vellumor::mapcraft
