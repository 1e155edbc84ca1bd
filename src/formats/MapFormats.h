#pragma once

#include "document/Standard.h"
#include "formats/FormatError.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace vellumor::formats {

// What a format can be asked to do with a map.
enum class Use {
    Read, // make a map from a file: import
    Write, // write a map to a file: export, and generate's -o
};

// How a map is read from a format's files.
struct MapReader
{
    // What import says of the files, the formats with the same words named
    // together: "grid of 25 lines of 35 symbol codes, the top row first".
    QString summary;
    // Where import names it among the readers: the plain grid first.
    int rank = 0;
    qsizetype maxFileSize = 0; // larger files are refused unread
    std::variant<MapCodes, FormatError> (*decode)(QByteArrayView bytes) = nullptr;
};

// One format other programs read or write, and everything the commands and
// their help say of it. Its writer lives with the drawing writers
// (mapexport::writerOf), as writing most formats draws the map.
struct MapFormat
{
    QString name; // "uvtt": how its writer is found
    QStringList suffixes; // lower case, without the dot
    QString purpose; // "for print": how the tool's overview names what it writes
    QString summary; // what the file holds, for export's help
    QStringList options; // the names of the export options it takes beyond -o
    // Writing it sets text, which needs the fonts of a GUI application.
    bool setsText = false;
    std::optional<MapReader> reader; // none for a format that is only written

    // Every format is written; those with a reader are read too.
    bool can(Use use) const { return use == Use::Write || reader.has_value(); }
};

// Every format there is, in the order export's help lists them.
const QList<MapFormat> &mapFormats();

// The formats that can be put to use, in the order its help lists them.
QList<const MapFormat *> formatsFor(Use use);

// The format for that use that the file's suffix names, whatever its case;
// null when none does.
const MapFormat *formatOf(const QString &file, Use use);

// Every suffix of the formats for that use, after `first`.
QStringList suffixesFor(Use use, const QStringList &first = {});

// ".csv, .tmx or .tmj": the suffixes with their dots, the last two joined by
// lastJoin.
QString listed(QStringList suffixes, const char *lastJoin = " or ");

// ".tmx, .tmj": the suffixes of the formats that take the export option.
QString suffixesTaking(const QString &option);

// "cannot tell the format of 'a.jpg': use .csv, .tmx or .tmj": how a file that
// no format for the use names is refused. `first` are suffixes the command
// takes besides the formats'.
QString unknownFormat(const QString &file, Use use, const QStringList &first = {});

} // namespace vellumor::formats
