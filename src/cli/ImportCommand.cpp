#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"
#include "document/FileReplacing.h"
#include "document/MapCodec.h"
#include "formats/CappedInput.h"
#include "formats/MapFormats.h"

#include <QTextStream>

namespace vellumor::maptool {

using formats::MapFormat;
using formats::Use;

namespace {

// "a .csv grid of ..., or a .tmx or .tmj Tiled map drawn with ...": the files
// import reads, for its help.
QString importSources()
{
    // Readers that import describes alike, one after the other, share their words.
    QStringList sources;
    QStringList suffixes;
    QString summary;
    const auto finish = [&] {
        if (!suffixes.isEmpty())
            sources << QStringLiteral("a %1 %2").arg(formats::listed(suffixes), summary);
        suffixes.clear();
    };
    for (const MapFormat *format : formats::formatsFor(Use::Read)) {
        if (format->reader->summary != summary)
            finish();
        summary = format->reader->summary;
        suffixes += format->suffixes;
    }
    finish();
    const QString last = sources.takeLast();
    return sources.isEmpty() ? last
                             : sources.join(QStringLiteral(", ")) + QStringLiteral(", or ") + last;
}

} // namespace

int importCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("import"), QStringLiteral("import IN -o MAP"),
        wrapped(QString(),
            QStringLiteral("Makes a map file from IN: %1 (as export writes them, also after Tiled "
                           "has saved them again). Anything else is refused with what is wrong, "
                           "and then nothing is written.")
                .arg(importSources()),
            0),
        QStringLiteral("Exit status: 0 when the map was written, 1 when IN is refused or a file "
                       "could\nnot be read or written, 2 when the command line is wrong.\n"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The map file to write (required). An existing file is replaced only "
                       "once the new one is complete."),
        QStringLiteral("MAP"));
    line.addOption(output);
    line.parser().addPositionalArgument(QStringLiteral("IN"),
        QStringLiteral("A %1 file.").arg(formats::listed(formats::suffixesFor(Use::Read))));
    if (const auto done = line.parse(arguments, out, err))
        return *done;

    const QStringList files = line.parser().positionalArguments();
    if (files.isEmpty())
        return line.usageError(err, QStringLiteral("no file to import given"));
    if (files.size() > 1)
        return line.usageError(err, QStringLiteral("one file at a time"));
    if (!line.parser().isSet(output) || line.parser().value(output).isEmpty())
        return line.usageError(err, QStringLiteral("no output file given (-o MAP)"));
    const QString &inFile = files.front();
    const MapFormat *format = formats::formatOf(inFile, Use::Read);
    if (!format)
        return line.usageError(err, formats::unknownFormat(inFile, Use::Read));
    const formats::MapReader &reader = *format->reader;

    const auto bytes = formats::readCapped(inFile, reader.maxFileSize);
    if (const auto *error = std::get_if<formats::FormatError>(&bytes)) {
        err << QStringLiteral("vellumor-map: ") << error->located(inFile) << Qt::endl;
        return kFailure;
    }
    const auto codes = reader.decode(std::get<QByteArray>(bytes));
    if (const auto *error = std::get_if<formats::FormatError>(&codes)) {
        err << QStringLiteral("vellumor-map: ") << error->located(inFile) << Qt::endl;
        return kFailure;
    }
    const QString mapFile = line.parser().value(output);
    if (const auto failure
        = writeFileReplacing(mapFile, mapfile::encode(std::get<MapCodes>(codes)))) {
        err << QStringLiteral("vellumor-map: cannot write %1: %2").arg(mapFile, *failure)
            << Qt::endl;
        return kFailure;
    }
    return kSuccess;
}

} // namespace vellumor::maptool
