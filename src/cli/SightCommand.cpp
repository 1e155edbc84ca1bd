#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "formats/ExportFormats.h"
#include "formats/ExportPng.h"
#include "formats/SightPicture.h"
#include "rules/Sight.h"

#include <QTextStream>

namespace vellumor::maptool {

namespace {

// Longer than the map's diagonal: a range beyond it is daylight.
constexpr int kMaxRange = 99;

// The map's rows as text: '@' the origin, '#' a cell seen, '.' one not seen.
QString sightText(CellPlace origin, const CellSet &seen)
{
    QString text;
    text.reserve(kMapRows * (kMapColumns + 1));
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const CellPlace place {column, row};
            text += place == origin    ? QLatin1Char('@')
                : seen.contains(place) ? QLatin1Char('#')
                                       : QLatin1Char('.');
        }
        text += QLatin1Char('\n');
    }
    return text;
}

} // namespace

int sightCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("sight"),
        QStringLiteral("sight MAP COLUMN ROW [--range N] [--png OUT]"),
        QStringLiteral("Prints what can be seen from one cell of the map: 25 lines of 35 "
                       "characters,\n'@' for the cell, '#' for a cell seen, '.' for one not "
                       "seen. Columns and rows\nare counted from 0 at the top left, as lint and "
                       "diff print them. Buildings,\nwalls, gates, guard posts, mountains and "
                       "living trees block sight;\ndocs/sight.md lists every symbol."),
        QStringLiteral("Exit status: 0 when the sight was printed or drawn, 1 when the map "
                       "could not\nbe read or the picture could not be written, 2 when the "
                       "command line is wrong.\n"));
    const QCommandLineOption rangeOption(QStringLiteral("range"),
        QStringLiteral("See no farther than N cells, from centre to centre (a torch: 4), 1 to "
                       "%1 (default: no limit, daylight).")
            .arg(kMaxRange),
        QStringLiteral("N"));
    line.addOption(rangeOption);
    const QCommandLineOption png(QStringLiteral("png"),
        QStringLiteral("Draw the map as export does, with the cells not seen shaded, instead "
                       "of printing it."),
        QStringLiteral("OUT"));
    line.addOption(png);
    line.parser().addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("The map file."));
    line.parser().addPositionalArgument(
        QStringLiteral("COLUMN"), QStringLiteral("The cell's column, 0 to 34."));
    line.parser().addPositionalArgument(
        QStringLiteral("ROW"), QStringLiteral("The cell's row, 0 to 24."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;

    const QStringList positional = line.parser().positionalArguments();
    if (positional.size() != 3) {
        return line.usageError(err,
            positional.isEmpty() ? QStringLiteral("no map file given")
                                 : QStringLiteral("give the map, a column and a row"));
    }
    const auto column = mapexport::wholeNumber(positional[1], 0, kMapColumns - 1);
    const auto row = mapexport::wholeNumber(positional[2], 0, kMapRows - 1);
    if (!column || !row) {
        return line.usageError(err,
            QStringLiteral("column %1, row %2 is not on the map: columns 0 to %3, rows 0 to %4")
                .arg(positional[1], positional[2])
                .arg(kMapColumns - 1)
                .arg(kMapRows - 1));
    }
    std::optional<int> range;
    if (line.parser().isSet(rangeOption)) {
        range = mapexport::wholeNumber(line.parser().value(rangeOption), 1, kMaxRange);
        if (!range) {
            return line.usageError(err,
                QStringLiteral("--range takes 1 to %1, not '%2'")
                    .arg(kMaxRange)
                    .arg(line.parser().value(rangeOption)));
        }
    }
    const bool picture = line.parser().isSet(png);
    if (picture && line.parser().value(png).isEmpty())
        return line.usageError(err, QStringLiteral("the --png file name is empty"));

    const auto codes = readMapReporting(positional[0], err);
    if (!codes)
        return kFailure;
    const CellPlace origin {*column, *row};
    const CellSet seen = rules::MapSight(*codes).seenFrom(origin, range);
    if (picture) {
        return writeOutput(line.parser().value(png),
                   mapexport::encodePng(mapexport::sightImage(*codes, origin, seen)), err)
            ? kSuccess
            : kFailure;
    }
    out << sightText(origin, seen);
    out.flush();
    return kSuccess;
}

} // namespace vellumor::maptool
