#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "document/FileReplacing.h"
#include "document/MapCodec.h"
#include "formats/MapDiff.h"
#include "rules/MapFix.h"

#include <QTextStream>

namespace vellumor::maptool {

int fixCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("fix"), QStringLiteral("fix MAP -o OUT"),
        QStringLiteral("Mends the problems lint reports that have one right answer and writes "
                       "the map\nto OUT: a river or wall piece whose sides do not match its "
                       "neighbours\nbecomes the one piece that does (a gate keeps its material "
                       "and turns), and\na picture missing pieces is completed where the cells "
                       "it needs are blank.\nPrints each changed cell as diff does, then what is "
                       "left as lint prints it,\nwith the reason it was left. No other cell "
                       "changes; MAP stays as it is unless\nOUT names it."),
        QStringLiteral("Exit status: 0 when OUT was written and no error is left, 1 when errors "
                       "are\nleft (OUT is written all the same) or a file could not be read or "
                       "written, 2\nwhen the command line is wrong.\n"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The map file to write (required), even when nothing changed. An "
                       "existing file is replaced only once the new one is complete."),
        QStringLiteral("OUT"));
    line.addOption(output);
    line.parser().addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("The map file."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;

    if (const auto done = line.requireOneMapFile(err))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    if (!line.parser().isSet(output) || line.parser().value(output).isEmpty())
        return line.usageError(err, QStringLiteral("no output file given (-o OUT)"));
    const QString &mapFile = files.front();
    const QString outFile = line.parser().value(output);

    const auto codes = readMapReporting(mapFile, err);
    if (!codes)
        return kFailure;
    const rules::FixResult fixed = rules::fixMap(*codes);
    if (const auto failure = writeFileReplacing(outFile, mapfile::encode(fixed.codes))) {
        err << QStringLiteral("vellumor-map: cannot write %1: %2").arg(outFile, *failure)
            << Qt::endl;
        return kFailure;
    }
    for (const QString &change : mapexport::diffLines(*codes, fixed.codes))
        out << change << '\n';
    for (const rules::Finding &finding : fixed.unmended) {
        out << mapFile << QStringLiteral(": ") << rules::describe(finding) << QStringLiteral(" (")
            << rules::unmendedReason(fixed.codes, finding) << QStringLiteral(")\n");
    }
    out.flush();
    return rules::errorCount(fixed.unmended) > 0 ? kFailure : kSuccess;
}

} // namespace vellumor::maptool
