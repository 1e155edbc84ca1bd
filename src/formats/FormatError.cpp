#include "formats/FormatError.h"

namespace vellumor::formats {

QString FormatError::located(const QString &file) const
{
    if (line <= 0)
        return file + QStringLiteral(": ") + problem;
    return QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(problem);
}

} // namespace vellumor::formats
