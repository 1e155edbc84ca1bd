#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapCommands.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "document/MapFileReader.h"
#include "formats/ExportPng.h"
#include "formats/MapDiff.h"
#include "rules/MapLint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QTextStream>

#include <variant>

namespace vellumor::maptool {

namespace {

using rules::Finding;

struct LintedFile
{
    QString file;
    QString unreadable; // as check reports it; empty when the map was read
    MapCodes codes {};
    QList<Finding> findings;

    bool hasErrors() const { return !unreadable.isEmpty() || rules::errorCount(findings) > 0; }
};

LintedFile lintFile(const QString &file)
{
    const auto result = readMapFile(file);
    if (const auto *failure = std::get_if<MapReadFailure>(&result))
        return {file, located(file, *failure), {}, {}};
    const MapCodes &codes = std::get<MapCodes>(result);
    return {file, {}, codes, rules::lintMap(codes)};
}

// The cells a finding names: one, or the two sides of a misjoin.
QList<QPoint> findingCells(const Finding &finding)
{
    QList<QPoint> cells {QPoint(finding.column, finding.row)};
    if (finding.hasTwoCells())
        cells.append(QPoint(finding.otherColumn, finding.otherRow));
    return cells;
}

// The map as export draws it, each cell a finding names framed.
QImage findingsImage(const LintedFile &linted)
{
    QList<QPoint> warnings;
    QList<QPoint> errors;
    for (const Finding &finding : linted.findings)
        (finding.severity == rules::Severity::Error ? errors : warnings) += findingCells(finding);
    return mapexport::findingsImage(linted.codes, warnings, errors);
}

void printText(const QList<LintedFile> &linted, QTextStream &out)
{
    for (const LintedFile &each : linted) {
        if (!each.unreadable.isEmpty())
            out << each.unreadable << '\n';
        for (const Finding &finding : each.findings)
            out << each.file << QStringLiteral(": ") << rules::describe(finding) << '\n';
    }
    out.flush();
}

QJsonObject cellObject(int column, int row)
{
    return {{QStringLiteral("column"), column}, {QStringLiteral("row"), row}};
}

// "column" and "row" name the finding's first cell; "cells" lists every cell
// it names, one or two.
QJsonObject findingObject(const Finding &finding)
{
    QJsonArray cells;
    for (const QPoint cell : findingCells(finding))
        cells.append(cellObject(cell.x(), cell.y()));
    return {{QStringLiteral("column"), finding.column}, {QStringLiteral("row"), finding.row},
        {QStringLiteral("cells"), cells},
        {QStringLiteral("severity"), rules::severityName(finding.severity)},
        {QStringLiteral("rule"), finding.rule}, {QStringLiteral("message"), finding.message}};
}

void printJson(const QList<LintedFile> &linted, QTextStream &out)
{
    QJsonArray files;
    for (const LintedFile &each : linted) {
        QJsonObject file {
            {QStringLiteral("file"), each.file}, {QStringLiteral("ok"), !each.hasErrors()}};
        if (!each.unreadable.isEmpty())
            file.insert(QStringLiteral("error"), each.unreadable);
        QJsonArray findings;
        for (const Finding &finding : each.findings)
            findings.append(findingObject(finding));
        file.insert(QStringLiteral("findings"), findings);
        files.append(file);
    }
    out << QJsonDocument(QJsonObject {{QStringLiteral("files"), files}}).toJson();
    out.flush();
}

} // namespace

int lintCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("lint"),
        QStringLiteral("lint MAP... [--format json] [--png OUT]"),
        QStringLiteral("Reads each map file as check does and prints one line per problem, in "
                       "cell\norder: \"MAP: column 12, row 4: error: RULE: what is wrong\", "
                       "columns and rows\ncounted from 0 at the top left as diff counts them. "
                       "A map that check refuses\nis reported as check reports it. Warnings "
                       "name what is odd but possible.\ndocs/lint.md lists every rule."),
        QStringLiteral(
            "Exit status: 0 when no map has an error (warnings alone are fine), 1 "
            "when any\nmap has an error or could not be read or the picture could not be "
            "written, 2\nwhen the command line is wrong.\n"));
    const QCommandLineOption format(QStringLiteral("format"),
        QStringLiteral("\"text\" (the default), or \"json\": one JSON document for all the maps, "
                       "for scripts and editors' plug-ins."),
        QStringLiteral("FORMAT"), QStringLiteral("text"));
    line.addOption(format);
    const QCommandLineOption png(QStringLiteral("png"),
        QStringLiteral("Also write the map as a picture, as export does, with each cell a "
                       "finding names framed: errors in red, warnings in amber. One map only."),
        QStringLiteral("OUT"));
    line.addOption(png);
    line.parser().addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("Map files."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    if (files.isEmpty())
        return line.usageError(err, QStringLiteral("no map file given"));
    const QString formatName = line.parser().value(format);
    if (formatName != QLatin1String("text") && formatName != QLatin1String("json")) {
        return line.usageError(
            err, QStringLiteral("the format must be text or json, not '%1'").arg(formatName));
    }

    const bool picture = line.parser().isSet(png);
    if (picture && line.parser().value(png).isEmpty())
        return line.usageError(err, QStringLiteral("the --png file name is empty"));
    // One OUT names one picture; a script that wants several names each.
    if (picture && files.size() > 1) {
        return line.usageError(
            err, QStringLiteral("--png draws one map, and %1 are named").arg(files.size()));
    }

    QList<LintedFile> linted;
    bool anyError = false;
    for (const QString &file : files) {
        linted.append(lintFile(file));
        anyError = anyError || linted.back().hasErrors();
    }
    if (formatName == QLatin1String("json"))
        printJson(linted, out);
    else
        printText(linted, out);
    if (picture && linted.front().unreadable.isEmpty()
        && !writeOutput(
            line.parser().value(png), mapexport::encodePng(findingsImage(linted.front())), err))
        return kFailure;
    return anyError ? kFailure : kSuccess;
}

} // namespace vellumor::maptool
