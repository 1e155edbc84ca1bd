#pragma once

#include <QString>

namespace vellumor::rules {

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

} // namespace vellumor::rules
