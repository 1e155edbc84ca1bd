#include "cli/CommandLine.h"

#include "cli/MapTool.h"

#include <QTextStream>

namespace vellumor::maptool {

namespace {

int reportMistake(QTextStream &err, const QString &problem, const QString &helpCommand)
{
    err << QStringLiteral("vellumor-map: ") << problem << Qt::endl
        << QStringLiteral("Try 'vellumor-map %1--help'.").arg(helpCommand) << Qt::endl;
    return kUsageError;
}

// An option's name as it is written on the command line.
QString written(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

} // namespace

int usageError(QTextStream &err, const QString &problem)
{
    return reportMistake(err, problem, QString());
}

QString wrapped(const QString &head, const QString &text, int indent, int width)
{
    QStringList lines;
    QString line = head;
    if (!line.isEmpty() && line.size() >= indent) {
        lines << line;
        line.clear();
    }
    line = line.leftJustified(indent);
    bool lineHasWords = false;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineHasWords && line.size() + 1 + word.size() > width) {
            lines << line;
            line = QString(indent, QLatin1Char(' '));
            lineHasWords = false;
        }
        if (lineHasWords)
            line += QLatin1Char(' ');
        line += word;
        lineHasWords = true;
    }
    lines << line;
    return lines.join(QLatin1Char('\n'));
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

void CommandLine::addOption(const QCommandLineOption &option)
{
    m_parser.addOption(option);
    m_options.append(option);
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
    return reportMistake(
        err, m_command + QStringLiteral(": ") + problem, m_command + QLatin1Char(' '));
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

// A value given twice is a mistake, not a choice for the parser to settle
// silently by taking the last; a switch given twice means no more than once.
std::optional<QString> CommandLine::repeatedOption() const
{
    for (const QCommandLineOption &option : m_options) {
        if (option.valueName().isEmpty())
            continue;
        const QStringList values = m_parser.values(option);
        if (values.size() < 2)
            continue;
        QString name = option.names().constLast();
        for (const QString &found : m_parser.optionNames()) {
            if (option.names().contains(found)) {
                name = found;
                break;
            }
        }
        QStringList quoted;
        for (const QString &value : values)
            quoted << QLatin1Char('\'') + value + QLatin1Char('\'');
        return QStringLiteral("%1 given more than once (%2): give it once")
            .arg(written(name), quoted.join(QStringLiteral(", ")));
    }
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
            const QString asWritten = arguments.contains(QLatin1Char('-') + name)
                ? QLatin1Char('-') + name
                : QStringLiteral("--") + name;
            return usageError(err, QStringLiteral("unknown option '%1'").arg(asWritten));
        }
        return usageError(err, m_parser.errorText());
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        out << helpText();
        return kSuccess;
    }
    if (const auto repeated = repeatedOption())
        return usageError(err, *repeated);
    return std::nullopt;
}

} // namespace vellumor::maptool
