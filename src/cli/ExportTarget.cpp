#include "cli/ExportTarget.h"

#include "cli/CommandLine.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "document/FileReplacing.h"
#include "document/MapCodec.h"

#include <QFileInfo>
#include <QTextStream>

namespace vellumor::maptool {

using namespace mapexport;
using formats::MapFormat;
using formats::Use;

namespace {

bool isMapFile(const QString &file)
{
    return QFileInfo(file).suffix().toLower() == QLatin1String("map");
}

QStringList mapSuffix(bool mapFiles)
{
    return mapFiles ? QStringList {QStringLiteral("map")} : QStringList {};
}

} // namespace

ExportTarget::ExportTarget(bool mapFiles)
    : m_mapFiles(mapFiles)
    , m_output({QStringLiteral("o"), QStringLiteral("output")},
          QStringLiteral("Where to write the map; its suffix chooses the format: %1 (required).")
              .arg(formats::listed(formats::suffixesFor(Use::Write, mapSuffix(mapFiles)))),
          QStringLiteral("OUT"))
{
    for (const ExportOption &option : exportOptions()) {
        m_formatOptions.append(QCommandLineOption(option.name,
            formats::suffixesTaking(option.name) + QStringLiteral(": ") + option.help,
            option.valueName));
    }
}

QString ExportTarget::formatList(bool mapFiles)
{
    constexpr int kIndent = 18;
    QStringList lines;
    if (mapFiles)
        lines << QStringLiteral("  .map").leftJustified(kIndent) + QStringLiteral("a map file");
    for (const MapFormat *format : formats::formatsFor(Use::Write)) {
        QStringList suffixes = format->suffixes;
        for (QString &suffix : suffixes)
            suffix.prepend(QLatin1Char('.'));
        lines << wrapped(
            QStringLiteral("  ") + suffixes.join(QStringLiteral(", ")), format->summary, kIndent);
    }
    return lines.join(QStringLiteral(";\n")) + QLatin1Char('.');
}

QString ExportTarget::formatPurposes()
{
    // Formats for the same purpose, one after the other, share their words.
    QStringList purposes;
    QString purpose;
    QStringList suffixes;
    const auto finish = [&] {
        if (!suffixes.isEmpty())
            purposes << QStringLiteral("%1 (%2)").arg(purpose, suffixes.join(QStringLiteral(", ")));
        suffixes.clear();
    };
    for (const MapFormat *format : formats::formatsFor(Use::Write)) {
        if (format->purpose != purpose)
            finish();
        purpose = format->purpose;
        for (const QString &suffix : format->suffixes)
            suffixes << QLatin1Char('.') + suffix;
    }
    finish();
    const QString last = purposes.takeLast();
    return purposes.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

bool ExportTarget::setsText(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        const MapFormat *format = formats::formatOf(argument, Use::Write);
        if (format && format->setsText)
            return true;
    }
    return false;
}

void ExportTarget::addOptions(CommandLine &line) const
{
    line.addOption(m_output);
    for (const QCommandLineOption &option : m_formatOptions)
        line.addOption(option);
}

std::optional<int> ExportTarget::read(CommandLine &line, const QString &title, QTextStream &err)
{
    const QCommandLineParser &parser = line.parser();
    if (!parser.isSet(m_output) || parser.value(m_output).isEmpty())
        return line.usageError(err, QStringLiteral("no output file given (-o OUT)"));
    m_settings.outFile = parser.value(m_output);
    m_settings.title = title;
    const bool mapFile = m_mapFiles && isMapFile(m_settings.outFile);
    m_format = mapFile ? nullptr : formats::formatOf(m_settings.outFile, Use::Write);
    m_writer = m_format ? writerOf(*m_format) : nullptr;
    if (!mapFile && !m_writer) {
        return line.usageError(
            err, formats::unknownFormat(m_settings.outFile, Use::Write, mapSuffix(m_mapFiles)));
    }

    const QList<ExportOption> &options = exportOptions();
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (!parser.isSet(m_formatOptions[i]))
            continue;
        if (!m_format || !m_format->options.contains(options[i].name)) {
            return line.usageError(err,
                QStringLiteral("--%1 does not apply to .%2 files")
                    .arg(options[i].name, QFileInfo(m_settings.outFile).suffix()));
        }
        if (const Complaint complaint
            = options[i].read(parser.value(m_formatOptions[i]), m_settings))
            return line.usageError(err, *complaint);
    }
    if (m_writer && m_writer->settle) {
        if (const Complaint complaint = m_writer->settle(m_settings))
            return line.usageError(err, *complaint);
    }
    return std::nullopt;
}

int ExportTarget::write(const MapCodes &codes, QTextStream &err) const
{
    if (!m_writer) {
        // As the editor saves a map.
        if (const auto failure = writeFileReplacing(m_settings.outFile, mapfile::encode(codes))) {
            err << QStringLiteral("vellumor-map: cannot write %1: %2")
                       .arg(m_settings.outFile, *failure)
                << Qt::endl;
            return kFailure;
        }
        return kSuccess;
    }
    for (const ExportFile &file : m_writer->write(codes, m_settings)) {
        if (!writeOutput(file.path, file.bytes, err))
            return kFailure;
    }
    return kSuccess;
}

} // namespace vellumor::maptool
