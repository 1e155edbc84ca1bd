#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QString>

#include <array>
#include <optional>

namespace vellumor::art {

// The hand-editable form of pixel artwork. A text holds colour lines
//     colour <char> <red> <green> <blue> <name...>
// and pictures, each a header line followed by its rows, one character a pixel:
//     picture <id> <title...>
// Lines starting with '#' and blank lines outside a picture are ignored; a
// blank line or the next header ends a picture. Every row of a picture has the
// same width, and every character in it must have a colour line.
struct Picture
{
    QString id;
    QString title;
    QImage image; // Format_RGB888
};

struct Artwork
{
    QMap<QChar, QRgb> legend;
    QList<Picture> pictures;

    const Picture *find(const QString &id) const;
};

struct ParseResult
{
    std::optional<Artwork> artwork;
    QString error; // with the line number, when there is no artwork
};

struct Source
{
    QString name; // for messages
    QByteArray text;
};

// Reads several texts as one (a shared legend first, then the sets of pictures).
ParseResult parse(const QList<Source> &sources);

// The 64 symbol pictures by code (entry 0 stays null), checked to be 15 x 15 and
// each code 1 to 64 present exactly once.
struct SymbolArt
{
    std::optional<std::array<QImage, 65>> pictures;
    QString error;
};
SymbolArt symbolPictures(const Artwork &artwork);

// The source files of the symbol artwork, in the order they are read.
QStringList symbolSourceFiles();

} // namespace vellumor::art
