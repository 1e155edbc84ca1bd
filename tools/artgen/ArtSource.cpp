#include "artgen/ArtSource.h"

#include <QRegularExpression>

namespace vellumor::art {

namespace {

struct PendingPicture
{
    Picture header;
    QList<QByteArray> rows;
    int line = 0;
};

QString lineError(int line, const QString &what)
{
    return QStringLiteral("line %1: %2").arg(line).arg(what);
}

std::optional<QString> finish(PendingPicture &pending, Artwork &artwork)
{
    if (pending.rows.isEmpty())
        return lineError(
            pending.line, QStringLiteral("picture '%1' has no rows").arg(pending.header.id));
    const int width = int(pending.rows.first().size());
    QImage image(width, int(pending.rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < pending.rows.size(); ++y) {
        const QByteArray &row = pending.rows[y];
        if (row.size() != width)
            return lineError(pending.line + 1 + y,
                QStringLiteral("row is %1 wide, not %2").arg(row.size()).arg(width));
        for (int x = 0; x < width; ++x) {
            const auto colour = artwork.legend.constFind(QChar(row[x]));
            if (colour == artwork.legend.cend())
                return lineError(
                    pending.line + 1 + y, QStringLiteral("no colour for '%1'").arg(QChar(row[x])));
            image.setPixel(x, y, *colour);
        }
    }
    pending.header.image = image;
    artwork.pictures.append(pending.header);
    return std::nullopt;
}

std::optional<QString> parseInto(Artwork &artwork, const QByteArray &text)
{
    static const QRegularExpression colourLine(
        QStringLiteral("^colour (\\S) +(\\d{1,3}) +(\\d{1,3}) +(\\d{1,3})(?: +.*)?$"));
    static const QRegularExpression pictureLine(QStringLiteral("^picture (\\S+)(?: +(.*))?$"));

    std::optional<PendingPicture> pending;
    int lineNumber = 0;
    QList<QByteArray> lines = text.split('\n');
    lines.append(QByteArray()); // ends the last picture

    for (QByteArray line : lines) {
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = QString::fromLatin1(line);
        const bool isHeader = text.startsWith(QLatin1String("colour "))
            || text.startsWith(QLatin1String("picture "));
        if (pending && (line.isEmpty() || isHeader)) {
            if (auto error = finish(*pending, artwork))
                return error;
            pending.reset();
        }
        if (pending) {
            pending->rows.append(line);
            continue;
        }
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (const auto match = colourLine.match(text); match.hasMatch()) {
            const QChar key = match.captured(1).front();
            const int r = match.captured(2).toInt(), g = match.captured(3).toInt(),
                      b = match.captured(4).toInt();
            if (r > 255 || g > 255 || b > 255)
                return lineError(lineNumber, QStringLiteral("colour out of range"));
            if (artwork.legend.contains(key))
                return lineError(lineNumber, QStringLiteral("'%1' defined twice").arg(key));
            artwork.legend.insert(key, qRgb(r, g, b));
        } else if (const auto match = pictureLine.match(text); match.hasMatch()) {
            if (artwork.find(match.captured(1)))
                return lineError(
                    lineNumber, QStringLiteral("picture '%1' twice").arg(match.captured(1)));
            pending = PendingPicture {{match.captured(1), match.captured(2), {}}, {}, lineNumber};
        } else {
            return lineError(lineNumber, QStringLiteral("not understood: %1").arg(text));
        }
    }
    return std::nullopt;
}

} // namespace

const Picture *Artwork::find(const QString &id) const
{
    for (const Picture &picture : pictures) {
        if (picture.id == id)
            return &picture;
    }
    return nullptr;
}

ParseResult parse(const QList<Source> &sources)
{
    Artwork artwork;
    for (const Source &source : sources) {
        if (auto error = parseInto(artwork, source.text))
            return {std::nullopt, source.name + QLatin1Char(' ') + *error};
    }
    return {artwork, {}};
}

SymbolArt symbolPictures(const Artwork &artwork)
{
    std::array<QImage, 65> pictures;
    for (const Picture &picture : artwork.pictures) {
        bool isNumber = false;
        const int code = picture.id.toInt(&isNumber);
        if (!isNumber || code < 1 || code > 64)
            return {std::nullopt, QStringLiteral("'%1' is no symbol code").arg(picture.id)};
        if (picture.image.size() != QSize(15, 15))
            return {std::nullopt, QStringLiteral("symbol %1 is not 15 x 15").arg(code)};
        if (!pictures[std::size_t(code)].isNull())
            return {std::nullopt, QStringLiteral("symbol %1 is drawn twice").arg(code)};
        pictures[std::size_t(code)] = picture.image;
    }
    for (int code = 1; code <= 64; ++code) {
        if (pictures[std::size_t(code)].isNull())
            return {std::nullopt, QStringLiteral("symbol %1 is missing").arg(code)};
    }
    return {pictures, {}};
}

QStringList symbolSourceFiles()
{
    return {QStringLiteral("legend.txt"), QStringLiteral("town.txt"),
        QStringLiteral("terrain1.txt"), QStringLiteral("terrain2.txt")};
}

} // namespace vellumor::art
