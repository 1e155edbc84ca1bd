#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"

#include <QTextStream>

namespace vellumor::maptool {

int generateCommand(const QStringList &, QTextStream &, QTextStream &err)
{
    return usageError(err, QStringLiteral("generate is not built yet"));
}

} // namespace vellumor::maptool
