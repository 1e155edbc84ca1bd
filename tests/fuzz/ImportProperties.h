#pragma once

#include <QByteArrayView>
#include <QString>

namespace vellumor::fuzzing {

// The first byte chooses the reader (its value modulo 3: CSV, TMX, TMJ); the
// rest is the file. Checks what must hold whatever the bytes are:
// - reading the same bytes twice gives the same verdict;
// - a refusal says what is wrong and names a line within the file (or none);
// - an accepted map holds only symbol codes, and the format's own writer turns
//   it into a file that reads back to the same codes.
// Returns what did not hold, or an empty string.
QString checkImport(QByteArrayView input);

} // namespace vellumor::fuzzing
