#include "cli/MapTool.h"

#include "cli/MapCommands.h"

#include <QTextStream>

#include <optional>

namespace vellumor::maptool {

namespace {

const QString kUsage
    = QStringLiteral("Usage: vellumor-map check FILE...\n"
                     "       vellumor-map render FILE -o OUT.png [--scale N] [--no-grid]\n"
                     "       vellumor-map --help | --version\n");

const QString kHelp = QStringLiteral(
    "Checks and draws Vellumor map files without opening the editor.\n"
    "\n"
    "Commands:\n"
    "  check FILE...      Read each map file as the editor opens it and print\n"
    "                     \"FILE: ok\", or \"FILE:LINE: what is wrong\", one line per file.\n"
    "  render FILE        Draw the map as the editor shows it into a PNG picture.\n"
    "\n"
    "Options:\n"
    "  -h, --help         Show this help, or a command's help after its name.\n"
    "  --version          Show the version.\n"
    "\n"
    "Exit status: 0 when all went well, 1 when a map is invalid or a file could not\n"
    "be read or written, 2 when the command line is wrong.\n");

const QString kCheckHelp = QStringLiteral(
    "Usage: vellumor-map check FILE...\n"
    "\n"
    "Reads each map file exactly as the editor's Open does and prints one line per\n"
    "file: \"FILE: ok\", \"FILE:LINE: what is wrong\", or \"FILE: why it could not be read\".\n"
    "\n"
    "Options:\n"
    "  -h, --help         Show this help.\n"
    "  --                 Take every later argument as a file name.\n"
    "\n"
    "Exit status: 0 when every file is a valid map, 1 when any is not, 2 when the\n"
    "command line is wrong.\n");

const QString kRenderHelp = QStringLiteral(
    "Usage: vellumor-map render FILE -o OUT.png [--scale N] [--no-grid]\n"
    "\n"
    "Draws the map in FILE as the editor's map window shows it, 633 x 463 pixels,\n"
    "and writes it to OUT.png. Needs no display.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUT.png  Where to write the picture (required). An existing\n"
    "                        file is replaced only once the new one is complete.\n"
    "  --scale N             Enlarge every pixel to N x N pixels, N from 1 to %1\n"
    "                        (default 1), keeping the edges sharp.\n"
    "  --no-grid             Leave out the cell borders, as View > Grid Lines does.\n"
    "  -h, --help            Show this help.\n"
    "\n"
    "Exit status: 0 when the picture was written, 1 when the map is invalid or a\n"
    "file could not be read or written, 2 when the command line is wrong.\n");

int usageError(QTextStream &err, const QString &problem)
{
    err << QStringLiteral("vellumor-map: ") << problem << Qt::endl
        << kUsage << QStringLiteral("Try 'vellumor-map --help' for more information.") << Qt::endl;
    return kUsageError;
}

bool isOption(const QString &argument)
{
    return argument.startsWith(QLatin1Char('-')) && argument.size() > 1;
}

bool isHelp(const QString &argument)
{
    return argument == QLatin1String("-h") || argument == QLatin1String("--help");
}

int check(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QStringList files;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (optionsEnded || !isOption(argument)) {
            files << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (isHelp(argument)) {
            out << kCheckHelp;
            return kSuccess;
        } else {
            return usageError(err, QStringLiteral("check: unknown option '%1'").arg(argument));
        }
    }
    if (files.isEmpty())
        return usageError(err, QStringLiteral("check: no map file given"));
    return checkMaps(files, out);
}

std::optional<int> parseScale(const QString &text)
{
    bool ok = false;
    const int scale = text.toInt(&ok);
    if (!ok || scale < 1 || scale > kMaxScale)
        return std::nullopt;
    return scale;
}

int render(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    RenderRequest request;
    QStringList files;
    bool optionsEnded = false;
    std::optional<QString> output;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnded || !isOption(argument)) {
            files << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (isHelp(argument)) {
            out << kRenderHelp.arg(kMaxScale);
            return kSuccess;
        }
        if (argument == QLatin1String("--no-grid")) {
            request.gridLines = false;
            continue;
        }
        // Options with a value take it as the next argument or after "=".
        QString name = argument;
        std::optional<QString> value;
        if (const qsizetype equals = argument.indexOf(QLatin1Char('='));
            equals > 0 && argument.startsWith(QLatin1String("--"))) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
        }
        const bool isOutput = name == QLatin1String("-o") || name == QLatin1String("--output");
        const bool isScale = name == QLatin1String("--scale");
        if (!isOutput && !isScale)
            return usageError(err, QStringLiteral("render: unknown option '%1'").arg(argument));
        if (!value) {
            if (i + 1 >= arguments.size())
                return usageError(err, QStringLiteral("render: %1 needs a value").arg(name));
            value = arguments[++i];
        }
        if (isOutput) {
            if (value->isEmpty())
                return usageError(err, QStringLiteral("render: the output file name is empty"));
            output = *value;
        } else if (const auto scale = parseScale(*value)) {
            request.scale = *scale;
        } else {
            return usageError(err,
                QStringLiteral("render: the scale must be a whole number from 1 to %1, not '%2'")
                    .arg(kMaxScale)
                    .arg(*value));
        }
    }
    if (files.isEmpty())
        return usageError(err, QStringLiteral("render: no map file given"));
    if (files.size() > 1)
        return usageError(err, QStringLiteral("render: one map file at a time"));
    if (!output)
        return usageError(err, QStringLiteral("render: no output file given (-o OUT.png)"));
    request.mapFile = files.front();
    request.outputFile = *output;
    return renderMapFile(request, err);
}

} // namespace

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty())
        return usageError(err, QStringLiteral("no command given"));
    const QString &command = arguments.front();
    const QStringList rest = arguments.mid(1);
    if (isHelp(command)) {
        out << kUsage << Qt::endl << kHelp;
        return kSuccess;
    }
    if (command == QLatin1String("--version")) {
        out << QStringLiteral("vellumor-map 1.1") << Qt::endl;
        return kSuccess;
    }
    if (command == QLatin1String("check"))
        return check(rest, out, err);
    if (command == QLatin1String("render"))
        return render(rest, out, err);
    return usageError(err, QStringLiteral("unknown command '%1'").arg(command));
}

} // namespace vellumor::maptool
