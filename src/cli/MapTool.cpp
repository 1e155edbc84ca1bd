#include "cli/MapTool.h"

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExportTarget.h"
#include "cli/MapCommands.h"
#include "formats/ExportFormats.h"
#include "formats/MapFormats.h"

#include <QTextStream>

namespace vellumor::maptool {

namespace {

const QString kUsage = QStringLiteral(
    "Usage: vellumor-map check FILE...\n"
    "  or:  vellumor-map render FILE -o OUT.png [--scale N] [--no-grid]\n"
    "  or:  vellumor-map export MAP -o OUT [options]\n"
    "  or:  vellumor-map import IN -o MAP\n"
    "  or:  vellumor-map diff A.map B.map [--png OUT]\n"
    "  or:  vellumor-map generate KIND -o OUT [--seed N] [options]\n"
    "  or:  vellumor-map lint MAP... [--format json] [--png OUT]\n"
    "  or:  vellumor-map fix MAP -o OUT\n"
    "  or:  vellumor-map sight MAP COLUMN ROW [--range N] [--png OUT]\n"
    "  or:  vellumor-map table MAP... [--port N] [--bind ADDRESS] [--reset] [--new-secret]\n"
    "  or:  vellumor-map --help | --version\n");

QString overview()
{
    constexpr int kIndent = 21;
    return QStringLiteral(
               "Checks, draws, exports, imports and compares Vellumor map files without\n"
               "opening the editor. Needs no display.\n"
               "\n"
               "Commands:\n"
               "  check FILE...      Read each map file as the editor opens it and print\n"
               "                     \"FILE: ok\", or \"FILE:LINE: what is wrong\", one line per "
               "file.\n"
               "  render FILE        Draw the map as the editor shows it into a PNG picture.\n")
        + wrapped(QStringLiteral("  export MAP"),
            QStringLiteral("Write the map %1, by the output's suffix.")
                .arg(ExportTarget::formatPurposes()),
            kIndent)
        + QLatin1Char('\n')
        + wrapped(QStringLiteral("  import IN"),
            QStringLiteral("Make a map file from a %1 file.")
                .arg(formats::listed(formats::suffixesFor(formats::Use::Read))),
            kIndent)
        + QStringLiteral(
            "\n"
            "  diff A.map B.map   List the cells that differ between two maps.\n"
            "  generate KIND      Make a whole map: a town, fort, castle or valley.\n"
            "  lint MAP...        Say which cells of each map are wrong, one line per problem.\n"
            "  fix MAP            Mend what lint reports that has one right answer.\n"
            "  sight MAP C R      Show what can be seen from one cell of the map.\n"
            "  table MAP...       Serve the maps to the players' browsers, revealed by the GM.\n"
            "\n"
            "Options:\n"
            "  -h, --help         Show this help, or a command's help after its name.\n"
            "  --version          Show the version.\n"
            "\n"
            "Exit status: 0 when all went well, 1 when a file is invalid or could not be\n"
            "read or written (and, for diff, when the maps differ), 2 when the command\n"
            "line is wrong.\n");
}

const QString kRenderExitStatus
    = QStringLiteral("Exit status: 0 when the picture was written, 1 when the map is invalid or a\n"
                     "file could not be read or written, 2 when the command line is wrong.\n");

} // namespace

int checkCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("check"), QStringLiteral("check FILE..."),
        QStringLiteral("Reads each map file exactly as the editor's Open does and prints one line "
                       "per\nfile: \"FILE: ok\", \"FILE:LINE: what is wrong\", or \"FILE: why it "
                       "could not be read\".\n\"--\" takes every later argument as a file name."),
        QStringLiteral("Exit status: 0 when every file is a valid map, 1 when any is not, 2 when "
                       "the\ncommand line is wrong.\n"));
    line.parser().addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Map files."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    if (files.isEmpty())
        return line.usageError(err, QStringLiteral("no map file given"));
    return checkMaps(files, out);
}

int renderCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("render"),
        QStringLiteral("render FILE -o OUT.png [--scale N] [--size N] [--no-grid]"),
        QStringLiteral("Draws the map in FILE as the editor's map window shows it, 633 x 463 "
                       "pixels,\nand writes it to OUT.png, as PNG whatever its name. Needs no "
                       "display. Writes\nnothing when FILE is not a valid map."),
        kRenderExitStatus);
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Where to write the picture (required). An existing file is replaced "
                       "only once the new one is complete."),
        QStringLiteral("OUT.png"));
    const QCommandLineOption scale(QStringLiteral("scale"),
        QStringLiteral("Enlarge every pixel to N x N pixels, N from 1 to %1 (default 1), keeping "
                       "the edges sharp.")
            .arg(kMaxScale),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption size(QStringLiteral("size"),
        QStringLiteral("Shrink the picture to at most N pixels on its longer side, N from %1 to "
                       "%2, as a\nthumbnail.")
            .arg(kMinFitSize)
            .arg(kMaxFitSize),
        QStringLiteral("N"));
    const QCommandLineOption noGrid(QStringLiteral("no-grid"),
        QStringLiteral("Leave out the cell borders, as View > Grid Lines does."));
    line.addOption(output);
    line.addOption(scale);
    line.addOption(size);
    line.addOption(noGrid);
    line.parser().addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The map file."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;

    if (const auto done = line.requireOneMapFile(err))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    const QString scaleText = line.parser().value(scale);
    const auto factor = mapexport::wholeNumber(scaleText, 1, kMaxScale);
    if (!factor) {
        return line.usageError(err,
            QStringLiteral("the scale must be a whole number from 1 to %1, not '%2'")
                .arg(kMaxScale)
                .arg(scaleText));
    }
    std::optional<int> fitSize = 0;
    if (line.parser().isSet(size)) {
        const QString sizeText = line.parser().value(size);
        fitSize = mapexport::wholeNumber(sizeText, kMinFitSize, kMaxFitSize);
        if (!fitSize) {
            return line.usageError(err,
                QStringLiteral("the size must be a whole number from %1 to %2, not '%3'")
                    .arg(kMinFitSize)
                    .arg(kMaxFitSize)
                    .arg(sizeText));
        }
    }
    if (!line.parser().isSet(output))
        return line.usageError(err, QStringLiteral("no output file given (-o OUT.png)"));
    const QString outputFile = line.parser().value(output);
    if (outputFile.isEmpty())
        return line.usageError(err, QStringLiteral("the output file name is empty"));
    return renderMapFile(
        {files.front(), outputFile, *factor, !line.parser().isSet(noGrid), *fitSize}, err);
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty())
        return usageError(err, QStringLiteral("no command given"));
    const QString &command = arguments.front();
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("-h") || command == QLatin1String("--help")) {
        out << kUsage << Qt::endl << overview();
        return kSuccess;
    }
    if (command == QLatin1String("--version")) {
        out << QStringLiteral("vellumor-map " VELLUMOR_VERSION) << Qt::endl;
        return kSuccess;
    }
    using Command = int (*)(const QStringList &, QTextStream &, QTextStream &);
    const std::pair<const char *, Command> commands[] = {{"check", checkCommand},
        {"render", renderCommand}, {"export", exportCommand}, {"import", importCommand},
        {"diff", diffCommand}, {"generate", generateCommand}, {"lint", lintCommand},
        {"fix", fixCommand}, {"sight", sightCommand}, {"table", tableCommand}};
    for (const auto &[name, function] : commands) {
        if (command == QLatin1String(name))
            return function(rest, out, err);
    }
    return usageError(err, QStringLiteral("unknown command '%1'").arg(command));
}

bool needsGuiApplication(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return false;
    const QString &command = arguments.front();
    return (command == QLatin1String("export") || command == QLatin1String("generate"))
        && ExportTarget::setsText(arguments.mid(1));
}

} // namespace vellumor::maptool
