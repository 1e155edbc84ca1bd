#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"

#include <QTextStream>

namespace vellumor::maptool {

int fixCommand(const QStringList &, QTextStream &, QTextStream &err)
{
    return usageError(err, QStringLiteral("fix is not built yet"));
}

} // namespace vellumor::maptool
