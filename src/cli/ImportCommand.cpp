#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"
#include "document/FileReplacing.h"
#include "document/MapCodec.h"
#include "formats/CappedInput.h"
#include "formats/CsvFormat.h"
#include "formats/TiledMap.h"
#include "formats/TmjFormat.h"
#include "formats/TmxFormat.h"

#include <QFileInfo>
#include <QTextStream>

namespace vellumor::maptool {

namespace {

using Decode = std::variant<MapCodes, formats::FormatError> (*)(QByteArrayView);

struct Reader
{
    const char *suffix;
    qsizetype maxFileSize;
    Decode decode;
};

constexpr Reader kReaders[] = {
    {"csv", csvformat::kMaxFileSize, csvformat::decode},
    {"tmx", tiledmap::kMaxFileSize, tmxformat::decode},
    {"tmj", tiledmap::kMaxFileSize, tmjformat::decode},
};

} // namespace

int importCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("import"), QStringLiteral("import IN -o MAP"),
        QStringLiteral("Makes a map file from IN: a .csv grid of 25 lines of 35 symbol codes, the "
                       "top\nrow first, or a .tmx or .tmj Tiled map drawn with the Vellumor "
                       "tileset (as\nexport writes them, also after Tiled has saved them again). "
                       "Anything else is\nrefused with what is wrong, and then nothing is "
                       "written."),
        QStringLiteral("Exit status: 0 when the map was written, 1 when IN is refused or a file "
                       "could\nnot be read or written, 2 when the command line is wrong.\n"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The map file to write (required). An existing file is replaced only "
                       "once the new one is complete."),
        QStringLiteral("MAP"));
    line.addOption(output);
    line.parser().addPositionalArgument(
        QStringLiteral("IN"), QStringLiteral("A .csv, .tmx or .tmj file."));
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
    const QString suffix = QFileInfo(inFile).suffix().toLower();
    const Reader *reader = nullptr;
    for (const Reader &each : kReaders) {
        if (suffix == QLatin1String(each.suffix))
            reader = &each;
    }
    if (!reader) {
        return line.usageError(err,
            QStringLiteral("cannot tell the format of '%1': use .csv, .tmx or .tmj").arg(inFile));
    }

    const auto bytes = formats::readCapped(inFile, reader->maxFileSize);
    if (const auto *error = std::get_if<formats::FormatError>(&bytes)) {
        err << QStringLiteral("vellumor-map: ") << error->located(inFile) << Qt::endl;
        return kFailure;
    }
    const auto codes = reader->decode(std::get<QByteArray>(bytes));
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
