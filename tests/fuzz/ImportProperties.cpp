#include "fuzz/ImportProperties.h"

#include "formats/CsvFormat.h"
#include "formats/TmjFormat.h"
#include "formats/TmxFormat.h"

#include <variant>

namespace vellumor::fuzzing {

namespace {

using Result = std::variant<MapCodes, formats::FormatError>;

struct Reader
{
    const char *name;
    Result (*decode)(QByteArrayView);
    QByteArray (*encode)(const MapCodes &);
};

const Reader kReaders[] = {
    {"CSV", csvformat::decode, csvformat::encode},
    {"TMX", tmxformat::decode,
        [](const MapCodes &codes) { return tmxformat::encode(codes, QStringLiteral("t.png")); }},
    {"TMJ", tmjformat::decode,
        [](const MapCodes &codes) { return tmjformat::encode(codes, QStringLiteral("t.png")); }},
};

bool sameVerdict(const Result &a, const Result &b)
{
    if (a.index() != b.index())
        return false;
    if (const auto *codes = std::get_if<MapCodes>(&a))
        return *codes == std::get<MapCodes>(b);
    const auto &errorA = std::get<formats::FormatError>(a);
    const auto &errorB = std::get<formats::FormatError>(b);
    return errorA.line == errorB.line && errorA.problem == errorB.problem;
}

// Lines as the reader counts them: XML also ends a line at a lone CR.
int lineCount(QByteArrayView bytes, bool xml)
{
    int lines = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            ++lines;
        else if (xml && bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            ++lines;
    }
    return lines;
}

} // namespace

QString checkImport(QByteArrayView input)
{
    if (input.isEmpty())
        return QString();
    const int format = std::uint8_t(input.front()) % 3;
    const Reader &reader = kReaders[format];
    const QByteArrayView bytes = input.sliced(1);
    const QString name = QLatin1String(reader.name);

    const Result result = reader.decode(bytes);
    if (!sameVerdict(result, reader.decode(bytes)))
        return name + QStringLiteral(": two readings of the same bytes disagree");
    if (const auto *error = std::get_if<formats::FormatError>(&result)) {
        if (error->problem.isEmpty())
            return name + QStringLiteral(": a refusal without a reason");
        const int lines = lineCount(bytes, format == 1);
        if (error->line < 0 || error->line > lines + 1)
            return name
                + QStringLiteral(": refused at line %1 of a file of %2 lines")
                      .arg(error->line)
                      .arg(lines);
        return QString();
    }
    const MapCodes &codes = std::get<MapCodes>(result);
    for (const SymbolCode code : codes) {
        if (!isSymbolCode(code))
            return name + QStringLiteral(": accepted code %1").arg(code);
    }
    const Result again = reader.decode(reader.encode(codes));
    if (!std::holds_alternative<MapCodes>(again) || std::get<MapCodes>(again) != codes)
        return name + QStringLiteral(": the written form of an accepted map reads back otherwise");
    return QString();
}

} // namespace vellumor::fuzzing
