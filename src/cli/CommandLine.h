#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace vellumor::maptool {

// One command's command line: QCommandLineParser with the tool's own usage
// line, help and error messages ("vellumor-map: COMMAND: what is wrong").
class CommandLine
{
public:
    CommandLine(QString command, QString usage, QString description, QString exitStatus);

    QCommandLineParser &parser() { return m_parser; }
    void addOption(const QCommandLineOption &option) { m_parser.addOption(option); }

    // Parses the arguments after the command's name. Gives the exit status when
    // the command is done already: help was printed, or the line was mistaken.
    std::optional<int> parse(const QStringList &arguments, QTextStream &out, QTextStream &err);

    QString helpText() const;
    int usageError(QTextStream &err, const QString &problem) const;
    // Gives the usage error's exit status unless exactly one map file is named.
    std::optional<int> requireOneMapFile(QTextStream &err) const;

private:
    QString m_command;
    QString m_usage;
    QString m_description;
    QString m_exitStatus;
    QCommandLineParser m_parser;
};

// The usage lines of every command, shown after a mistaken command line.
extern const QString kUsage;

int usageError(QTextStream &err, const QString &problem);

// A whole number from low to high, or nothing.
std::optional<int> parseWholeNumber(const QString &text, int low, int high);

} // namespace vellumor::maptool
