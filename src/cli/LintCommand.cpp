#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapCommands.h"
#include "cli/MapTool.h"
#include "document/MapFileReader.h"
#include "mapcraft/MapLint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <variant>

namespace vellumor::maptool {

namespace {

using mapcraft::Finding;

struct LintedFile
{
    QString file;
    QString unreadable; // as check reports it; empty when the map was read
    QList<Finding> findings;

    bool hasErrors() const { return !unreadable.isEmpty() || mapcraft::errorCount(findings) > 0; }
};

LintedFile lintFile(const QString &file)
{
    const auto result = readMapFile(file);
    if (const auto *failure = std::get_if<MapReadFailure>(&result))
        return {file, located(file, *failure), {}};
    return {file, {}, mapcraft::lintMap(std::get<MapCodes>(result))};
}

void printText(const QList<LintedFile> &linted, QTextStream &out)
{
    for (const LintedFile &each : linted) {
        if (!each.unreadable.isEmpty())
            out << each.unreadable << '\n';
        for (const Finding &finding : each.findings)
            out << each.file << QStringLiteral(": ") << mapcraft::describe(finding) << '\n';
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
    QJsonArray cells {cellObject(finding.column, finding.row)};
    if (finding.hasTwoCells())
        cells.append(cellObject(finding.otherColumn, finding.otherRow));
    return {{QStringLiteral("column"), finding.column}, {QStringLiteral("row"), finding.row},
        {QStringLiteral("cells"), cells},
        {QStringLiteral("severity"), mapcraft::severityName(finding.severity)},
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
    CommandLine line(QStringLiteral("lint"), QStringLiteral("lint MAP... [--format json]"),
        QStringLiteral("Reads each map file as check does and prints one line per problem, in "
                       "cell\norder: \"MAP: column 12, row 4: error: RULE: what is wrong\", "
                       "columns and rows\ncounted from 0 at the top left as diff counts them. "
                       "A map that check refuses\nis reported as check reports it. Warnings "
                       "name what is odd but possible.\ndocs/lint.md lists every rule."),
        QStringLiteral("Exit status: 0 when no map has an error (warnings alone are fine), 1 "
                       "when any\nmap has an error or could not be read, 2 when the command "
                       "line is wrong.\n"));
    const QCommandLineOption format(QStringLiteral("format"),
        QStringLiteral("\"text\" (the default), or \"json\": one JSON document for all the maps, "
                       "for scripts and editors' plug-ins."),
        QStringLiteral("FORMAT"), QStringLiteral("text"));
    line.addOption(format);
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
    return anyError ? kFailure : kSuccess;
}

} // namespace vellumor::maptool
