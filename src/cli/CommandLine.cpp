#include "cli/CommandLine.h"

#include "cli/MapTool.h"

#include <QTextStream>

namespace vellumor::maptool {

const QString kUsage
    = QStringLiteral("Usage: vellumor-map check FILE...\n"
                     "  or:  vellumor-map render FILE -o OUT.png [--scale N] [--no-grid]\n"
                     "  or:  vellumor-map export MAP -o OUT [options]\n"
                     "  or:  vellumor-map import IN -o MAP\n"
                     "  or:  vellumor-map diff A.map B.map [--png OUT]\n"
                     "  or:  vellumor-map generate KIND -o OUT [--seed N] [options]\n"
                     "  or:  vellumor-map lint MAP... [--format json]\n"
                     "  or:  vellumor-map fix MAP -o OUT\n"
                     "  or:  vellumor-map table MAP... [--port N] [--bind ADDRESS] [--reset]\n"
                     "  or:  vellumor-map --help | --version\n");

int usageError(QTextStream &err, const QString &problem)
{
    err << QStringLiteral("vellumor-map: ") << problem << Qt::endl
        << kUsage << QStringLiteral("Try 'vellumor-map --help' for more information.") << Qt::endl;
    return kUsageError;
}

std::optional<int> parseWholeNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

CommandLine::CommandLine(QString command, QString usage, QString description, QString exitStatus)
    : m_command(std::move(command))
    , m_usage(std::move(usage))
    , m_description(std::move(description))
    , m_exitStatus(std::move(exitStatus))
{
    m_parser.addOption(QCommandLineOption(
        {QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")));
}

QString CommandLine::helpText() const
{
    // Qt's own help text starts with a usage line naming the program alone;
    // ours names the command, so only the list of options is taken from it.
    const QString qtHelp = m_parser.helpText();
    const qsizetype options = qtHelp.indexOf(QStringLiteral("Options:"));
    return QStringLiteral("Usage: vellumor-map %1\n\n%2\n\n%3\n%4")
        .arg(m_usage, m_description, options < 0 ? QString() : qtHelp.mid(options), m_exitStatus);
}

int CommandLine::usageError(QTextStream &err, const QString &problem) const
{
    return maptool::usageError(err, m_command + QStringLiteral(": ") + problem);
}

std::optional<int> CommandLine::requireOneMapFile(QTextStream &err) const
{
    const qsizetype files = m_parser.positionalArguments().size();
    if (files == 0)
        return usageError(err, QStringLiteral("no map file given"));
    if (files > 1)
        return usageError(err, QStringLiteral("one map file at a time"));
    return std::nullopt;
}

std::optional<int> CommandLine::parse(
    const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (!m_parser.parse(QStringList {QStringLiteral("vellumor-map")} + arguments)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            // Named as it was written, dashes and all.
            const QString &name = unknown.front();
            const QString written = arguments.contains(QLatin1Char('-') + name)
                ? QLatin1Char('-') + name
                : QStringLiteral("--") + name;
            return usageError(err, QStringLiteral("unknown option '%1'").arg(written));
        }
        return usageError(err, m_parser.errorText());
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        out << helpText();
        return kSuccess;
    }
    return std::nullopt;
}

} // namespace vellumor::maptool
