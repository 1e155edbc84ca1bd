#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExportTarget.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "formats/ExportFormats.h"
#include "generate/MapGenerator.h"
#include "rules/MapLint.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextStream>

#include <limits>

namespace vellumor::maptool {

namespace {

using rules::MapKind;

// A whole number from 0 to the largest signed 64-bit one, digits only.
std::optional<std::uint64_t> parseSeed(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,19}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok || value > qulonglong(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return std::uint64_t(value);
}

// An argument as a shell reads it back.
QString quoted(const QString &argument)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=+,@%-]+$"));
    if (plain.match(argument).hasMatch())
        return argument;
    QString text = argument;
    text.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The command line that makes the same map again: the one given, with the
// seed that was picked for it.
QString repeatCommand(const QStringList &arguments, const QString &kind, std::uint64_t seed)
{
    QStringList words {QStringLiteral("vellumor-map"), QStringLiteral("generate"), kind,
        QStringLiteral("--seed"), QString::number(seed)};
    bool kindSkipped = false;
    for (const QString &argument : arguments) {
        if (!kindSkipped && argument == kind) {
            kindSkipped = true;
            continue;
        }
        words.append(quoted(argument));
    }
    return words.join(QLatin1Char(' '));
}

// The user's drawing to generate around, read and linted: nothing, and the
// lint lines printed, when it cannot be kept.
std::optional<MapCodes> readKept(const QString &file, QTextStream &out, QTextStream &err)
{
    const auto kept = readMapReporting(file, err);
    if (!kept)
        return std::nullopt;
    const QList<rules::Finding> findings = rules::lintMap(*kept);
    if (rules::errorCount(findings) == 0)
        return kept;
    for (const rules::Finding &finding : findings)
        out << file << QStringLiteral(": ") << rules::describe(finding) << '\n';
    err << QStringLiteral("vellumor-map: generate: %1 has errors of its own; nothing was written")
               .arg(file)
        << Qt::endl;
    return std::nullopt;
}

} // namespace

int generateCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("generate"),
        QStringLiteral("generate KIND -o OUT [--seed N] [options]"),
        QStringLiteral("Makes a whole map of one kind and writes it to OUT:\n"
                       "  town    a walled town with its gates, guard posts, inn, church, houses\n"
                       "          and well, and the country outside;\n"
                       "  fort    a fort in the desert with its towers, barracks and stables;\n"
                       "  castle  a castle and its keep in one of several layouts: below the\n"
                       "          mountains by a lake, above a lake before its gate, or on a\n"
                       "          hill between two rivers;\n"
                       "  valley  open country: a river from edge to edge, lakes, mountain\n"
                       "          ranges, forests, swamp and plains.\n"
                       "OUT's suffix names the format: .map, or any that export writes, with\n"
                       "export's options. The same kind, seed and generator version (now %1)\n"
                       "give the same map byte for byte. Without --seed, a seed is picked and\n"
                       "the command that makes the same map again is printed.\n"
                       "With --keep, every symbol drawn in MAP stands in the result as drawn and\n"
                       "the rest is made around it; a wall ring drawn there is the town's, the\n"
                       "fort's or the castle's wall, with the gates drawn in it; a castle drawn\n"
                       "there is the castle's keep, a lake its lake; a river drawn across the\n"
                       "map has the town or castle on one bank (a fort, in the desert, is\n"
                       "refused). A ring drawn without a gate is refused.")
            .arg(generate::kGeneratorVersion),
        QStringLiteral("Exit status: 0 when the map was written, 1 when no map came together or "
                       "a file\ncould not be written, 2 when the command line is wrong.\n"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
        QStringLiteral("Make the map from this seed, a whole number from 0 to %1 (default: one "
                       "picked by chance).")
            .arg(std::numeric_limits<qint64>::max()),
        QStringLiteral("N"));
    line.addOption(seedOption);
    const QCommandLineOption keepOption(QStringLiteral("keep"),
        QStringLiteral("Keep every symbol drawn in MAP and make the rest around it."),
        QStringLiteral("MAP"));
    const QCommandLineOption gatesOption(QStringLiteral("gates"),
        QStringLiteral("Gates in the wall of a town, fort or castle, 1 to 4 (default: by chance). "
                       "A wall ring kept from MAP keeps the gates drawn in it: a different N is "
                       "refused."),
        QStringLiteral("N"));
    const QCommandLineOption riverOption(
        QStringLiteral("river"), QStringLiteral("A town or castle with a river."));
    const QCommandLineOption noRiverOption(
        QStringLiteral("no-river"), QStringLiteral("A town or castle without a river."));
    line.addOption(keepOption);
    line.addOption(gatesOption);
    line.addOption(riverOption);
    line.addOption(noRiverOption);
    ExportTarget target(true);
    target.addOptions(line);
    line.parser().addPositionalArgument(
        QStringLiteral("KIND"), QStringLiteral("town, fort, castle or valley."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;
    QCommandLineParser &parser = line.parser();

    const QStringList kinds = parser.positionalArguments();
    if (kinds.isEmpty())
        return line.usageError(err, QStringLiteral("no kind of map given"));
    if (kinds.size() > 1)
        return line.usageError(err, QStringLiteral("one kind of map at a time"));
    const auto kind = rules::mapKindNamed(kinds.front());
    if (!kind) {
        return line.usageError(err,
            QStringLiteral("unknown kind of map '%1': use town, fort, castle or valley")
                .arg(kinds.front()));
    }
    std::optional<std::uint64_t> seed;
    if (parser.isSet(seedOption)) {
        seed = parseSeed(parser.value(seedOption));
        if (!seed) {
            return line.usageError(err,
                QStringLiteral("the seed must be a whole number from 0 to %1, not '%2'")
                    .arg(std::numeric_limits<qint64>::max())
                    .arg(parser.value(seedOption)));
        }
    }
    generate::MapChoices choices;
    if (parser.isSet(gatesOption)) {
        const auto gates = mapexport::wholeNumber(parser.value(gatesOption), 1, 4);
        if (!gates)
            return line.usageError(err,
                QStringLiteral("--gates takes 1 to 4, not '%1'").arg(parser.value(gatesOption)));
        if (*kind == MapKind::Valley)
            return line.usageError(err, QStringLiteral("a valley has no walls to put gates in"));
        choices.gates = *gates;
    }
    if (parser.isSet(riverOption) || parser.isSet(noRiverOption)) {
        if (parser.isSet(riverOption) && parser.isSet(noRiverOption))
            return line.usageError(err, QStringLiteral("--river and --no-river contradict"));
        if (*kind != MapKind::Town && *kind != MapKind::Castle)
            return line.usageError(
                err, QStringLiteral("--river and --no-river are for a town or a castle"));
        choices.river = parser.isSet(riverOption) ? generate::RiverChoice::Always
                                                  : generate::RiverChoice::Never;
    }
    const QString kindName = rules::mapKindName(*kind);
    if (const auto done = target.read(line, kindName, err))
        return *done;
    MapCodes kept {};
    if (parser.isSet(keepOption)) {
        const auto drawn = readKept(parser.value(keepOption), out, err);
        if (!drawn)
            return kFailure;
        kept = *drawn;
    }

    const bool picked = !seed;
    if (picked)
        seed = QRandomGenerator::system()->bounded(std::uint32_t(1) << 31);
    const generate::Generated generated = generate::generateAround(*kind, *seed, choices, kept);
    if (!generated.refused.isEmpty()) {
        err << QStringLiteral("vellumor-map: generate: %1: %2; nothing was written")
                   .arg(parser.value(keepOption), generated.refused)
            << Qt::endl;
        return kFailure;
    }
    if (!generated.codes) {
        for (const rules::Finding &finding : generated.inTheWay)
            out << parser.value(keepOption) << QStringLiteral(": ") << rules::describe(finding)
                << '\n';
        out.flush();
        err << QStringLiteral("vellumor-map: generate: no %1 came together from seed %2 within %3 "
                              "attempts; nothing was written")
                   .arg(kindName)
                   .arg(*seed)
                   .arg(generate::kMaxAttempts)
            << Qt::endl;
        return kFailure;
    }
    const int status = target.write(*generated.codes, err);
    if (status == kSuccess && picked)
        out << repeatCommand(arguments, kinds.front(), *seed) << Qt::endl;
    return status;
}

} // namespace vellumor::maptool
