#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace vellumor::maptool {

// One command's command line: QCommandLineParser with the tool's own usage
// line and help. A mistaken line is reported as the GNU tools do, in two
// lines: "vellumor-map: COMMAND: what is wrong" and where help is.
class CommandLine
{
public:
    CommandLine(QString command, QString usage, QString description, QString exitStatus);

    QCommandLineParser &parser() { return m_parser; }
    void addOption(const QCommandLineOption &option);

    // Parses the arguments after the command's name. Gives the exit status when
    // the command is done already: help was printed, or the line was mistaken,
    // an option that takes a value given more than once among its mistakes.
    std::optional<int> parse(const QStringList &arguments, QTextStream &out, QTextStream &err);

    QString helpText() const;
    int usageError(QTextStream &err, const QString &problem) const;
    // Gives the usage error's exit status unless exactly one map file is named.
    std::optional<int> requireOneMapFile(QTextStream &err) const;

private:
    std::optional<QString> repeatedOption() const;

    QString m_command;
    QString m_usage;
    QString m_description;
    QString m_exitStatus;
    QCommandLineParser m_parser;
    QList<QCommandLineOption> m_options;
};

// "vellumor-map: problem" and "Try 'vellumor-map --help'." on err, for a line
// mistaken before any command is known.
int usageError(QTextStream &err, const QString &problem);

// head, padded to indent columns, then text wrapped at word breaks so that no
// line is longer than width, every later line indented as far. A head as
// long as the indent has a line of its own.
QString wrapped(const QString &head, const QString &text, int indent, int width = 79);

} // namespace vellumor::maptool
