#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "formats/ExportPng.h"
#include "formats/MapDiff.h"

#include <QTextStream>

namespace vellumor::maptool {

using namespace mapexport;

int diffCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("diff"), QStringLiteral("diff A.map B.map [--png OUT]"),
        QStringLiteral("Prints one line per cell that differs between the maps A and B, in cell "
                       "order,\nwith its column and row counted from 0 at the top left: "
                       "\"column 17, row 12:\nBlank -> Water\"."),
        QStringLiteral("Exit status: 0 when the maps are equal, 1 when they differ or a file "
                       "could not\nbe read or written, 2 when the command line is wrong.\n"));
    const QCommandLineOption png(QStringLiteral("png"),
        QStringLiteral("Also write B as a picture, as export does, with each changed cell "
                       "outlined."),
        QStringLiteral("OUT"));
    line.addOption(png);
    line.parser().addPositionalArgument(QStringLiteral("A.map"), QStringLiteral("The first map."));
    line.parser().addPositionalArgument(QStringLiteral("B.map"), QStringLiteral("The second map."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;

    const QStringList files = line.parser().positionalArguments();
    if (files.size() != 2)
        return line.usageError(
            err, QStringLiteral("two map files are needed, not %1").arg(files.size()));
    if (line.parser().isSet(png) && line.parser().value(png).isEmpty())
        return line.usageError(err, QStringLiteral("the --png file name is empty"));
    const auto before = readMapReporting(files[0], err);
    const auto after = readMapReporting(files[1], err);
    if (!before || !after)
        return kFailure;

    const QStringList lines = diffLines(*before, *after);
    for (const QString &each : lines)
        out << each << '\n';
    out.flush();
    if (line.parser().isSet(png)
        && !writeOutput(line.parser().value(png), encodePng(diffImage(*before, *after)), err))
        return kFailure;
    return lines.isEmpty() ? kSuccess : kFailure;
}

} // namespace vellumor::maptool
