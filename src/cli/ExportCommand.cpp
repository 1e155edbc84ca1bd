#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExportTarget.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"

#include <QFileInfo>
#include <QTextStream>

namespace vellumor::maptool {

int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("export"), QStringLiteral("export MAP -o OUT [options]"),
        QStringLiteral("Writes the map in MAP in the format that OUT's suffix names:\n")
            + ExportTarget::formatList(false),
        QStringLiteral("Exit status: 0 when the file was written, 1 when the map is invalid or a "
                       "file\ncould not be read or written, 2 when the command line is wrong.\n"));
    ExportTarget target(false);
    target.addOptions(line);
    line.parser().addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("The map file."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;

    if (const auto done = line.requireOneMapFile(err))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    if (const auto done = target.read(line, QFileInfo(files.front()).fileName(), err))
        return *done;

    const auto codes = readMapReporting(files.front(), err);
    if (!codes)
        return kFailure;
    return target.write(*codes, err);
}

} // namespace vellumor::maptool
