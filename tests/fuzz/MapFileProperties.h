#pragma once

#include <QByteArrayView>
#include <QString>

namespace vellumor::fuzzing {

// Reads bytes as a map file every way the program can (all at once, a byte at a
// time, in uneven pieces) and checks what must hold whatever the bytes are:
// - every way gives the same verdict, the same codes and the same line;
// - the verdict is the one the documented file layout gives;
// - an accepted map holds only symbol codes, and its canonical form, as the
//   writer makes it, reads back to the same codes and is written the same again;
// - a refusal names a line within the file: 1 to its number of lines + 1.
// Returns what did not hold, or an empty string.
QString checkMapFile(QByteArrayView bytes);

} // namespace vellumor::fuzzing
