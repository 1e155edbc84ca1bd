// The CSV and Tiled readers and writers: every map survives the way out and
// back byte for byte, in every form Tiled saves, and every file that is no map
// of ours is refused with the line at fault, in bounded time and memory.
#include "document/MapCodec.h"
#include "formats/CappedInput.h"
#include "formats/CsvFormat.h"
#include "formats/TmjFormat.h"
#include "formats/TmxFormat.h"
#include "support/TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace vellumor;
using namespace vellumor::testing;
using formats::FormatError;

namespace {

using Decode = std::variant<MapCodes, FormatError> (*)(QByteArrayView);

MapCodes everyCode()
{
    MapCodes codes {};
    for (int i = 0; i < kCellCount; ++i)
        codes[std::size_t(i)] = SymbolCode((i * 11 + i / 35) % (kHighestSymbolCode + 1));
    return codes;
}

QByteArray exampleMap(const char *name)
{
    return readFile(QStringLiteral(VELLUMOR_EXAMPLES_DIR "/") + QLatin1String(name));
}

QByteArray compress(const QByteArray &bytes, int windowBits)
{
    z_stream stream {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray output(int(deflateBound(&stream, uLong(bytes.size()))) + 32, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(output.data());
    stream.avail_out = uInt(output.size());
    deflate(&stream, Z_FINISH);
    output.truncate(output.size() - qsizetype(stream.avail_out));
    deflateEnd(&stream);
    return output;
}

// The tiles of codes as Tiled's base64 layer data, compressed as asked.
QByteArray base64Tiles(const MapCodes &codes, const QString &compression)
{
    QByteArray raw;
    QByteArray csv = csvformat::encode(codes);
    for (const QByteArray &number : csv.replace('\n', ',').split(',')) {
        if (number.trimmed().isEmpty())
            continue;
        const quint32 tile = number.trimmed().toUInt();
        for (int shift = 0; shift < 32; shift += 8)
            raw += char((tile >> shift) & 0xFF);
    }
    if (compression == QLatin1String("zlib"))
        raw = compress(raw, 15);
    else if (compression == QLatin1String("gzip"))
        raw = compress(raw, 15 + 16);
    return raw.toBase64();
}

// Our TMX with its CSV data replaced by base64 data, as Tiled saves it when
// the map's layer format is set so.
QByteArray tmxWithBase64(const MapCodes &codes, const QString &compression)
{
    QString xml = QString::fromUtf8(tmxformat::encode(codes, QStringLiteral("a.png")));
    static const QRegularExpression data(QStringLiteral("<data encoding=\"csv\">[^<]*</data>"));
    const QString attributes = compression.isEmpty()
        ? QStringLiteral("encoding=\"base64\"")
        : QStringLiteral("encoding=\"base64\" compression=\"%1\"").arg(compression);
    xml.replace(data,
        QStringLiteral("<data %1>\n   %2\n  </data>")
            .arg(attributes, QString::fromLatin1(base64Tiles(codes, compression))));
    return xml.toUtf8();
}

QByteArray tmjWithBase64(const MapCodes &codes, const QString &compression)
{
    QString json = QString::fromUtf8(tmjformat::encode(codes, QStringLiteral("a.png")));
    static const QRegularExpression data(QStringLiteral("\"data\":\\[[^\\]]*\\]"));
    QString replacement = QStringLiteral("\"data\":\"%1\", \"encoding\":\"base64\"")
                              .arg(QString::fromLatin1(base64Tiles(codes, compression)));
    if (!compression.isEmpty())
        replacement += QStringLiteral(", \"compression\":\"%1\"").arg(compression);
    json.replace(data, replacement);
    return json.toUtf8();
}

QByteArray mapFileOf(const std::variant<MapCodes, FormatError> &result)
{
    if (const auto *error = std::get_if<FormatError>(&result))
        return "refused: " + error->located(QStringLiteral("IN")).toUtf8();
    return mapfile::encode(std::get<MapCodes>(result));
}

} // namespace

class TestMapFormats : public QObject
{
    Q_OBJECT
private slots:
    void mapsSurviveTheWayOutAndBack_data()
    {
        QTest::addColumn<QByteArray>("mapFile");
        for (const char *name : {"town.map", "castle.map", "desert-fort.map"})
            QTest::newRow(name) << exampleMap(name);
        QTest::newRow("every code") << mapfile::encode(everyCode());
    }

    void mapsSurviveTheWayOutAndBack()
    {
        QFETCH(QByteArray, mapFile);
        const auto decoded = mapfile::decode(mapFile);
        QVERIFY(std::holds_alternative<MapCodes>(decoded));
        const MapCodes codes = std::get<MapCodes>(decoded);
        // The samples are written as the editor writes maps, so that "byte for
        // byte" also means "the same file".
        QCOMPARE(mapfile::encode(codes), mapFile);

        const QString atlas = QStringLiteral("vellumor-symbols.png");
        QCOMPARE(mapFileOf(csvformat::decode(csvformat::encode(codes))), mapFile);
        QCOMPARE(mapFileOf(tmxformat::decode(tmxformat::encode(codes, atlas))), mapFile);
        QCOMPARE(mapFileOf(tmjformat::decode(tmjformat::encode(codes, atlas))), mapFile);
        for (const QString &compression :
            {QString(), QStringLiteral("zlib"), QStringLiteral("gzip")}) {
            QCOMPARE(mapFileOf(tmxformat::decode(tmxWithBase64(codes, compression))), mapFile);
            QCOMPARE(mapFileOf(tmjformat::decode(tmjWithBase64(codes, compression))), mapFile);
        }
    }

    void csvIsTheMapAsItLooks()
    {
        MapCodes codes {};
        codes[std::size_t(24)] = 1; // column 0, top row
        codes[std::size_t(0)] = 2; // column 0, bottom row
        codes[std::size_t(34 * 25 + 24)] = 64; // column 34, top row
        const QList<QByteArray> lines = csvformat::encode(codes).split('\n');
        QCOMPARE(lines.size(), 26); // 25 lines, each ended
        QVERIFY(lines[0].startsWith("1,0,") && lines[0].endsWith(",0,64"));
        QVERIFY(lines[24].startsWith("2,0,"));
        QCOMPARE(lines[0].count(','), 34);

        // What spreadsheets add: a byte order mark, CR LF, blanks, an empty last line.
        QByteArray edited
            = "\xEF\xBB\xBF" + csvformat::encode(codes).replace("\n", " \r\n") + "\r\n";
        edited.replace("1,0,", "1 , 0,");
        QCOMPARE(mapFileOf(csvformat::decode(edited)), mapfile::encode(codes));
    }

    void refusedImports_data()
    {
        QTest::addColumn<int>("format"); // 0 csv, 1 tmx, 2 tmj
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("complaint");

        const QByteArray csv = csvformat::encode(everyCode());
        const QByteArray tmx = tmxformat::encode(everyCode(), QStringLiteral("a.png"));
        const QByteArray tmj = tmjformat::encode(everyCode(), QStringLiteral("a.png"));
        const auto withLine = [](QByteArray text, int index, const QByteArray &line) {
            QList<QByteArray> lines = text.split('\n');
            lines[index] = line;
            return lines.join('\n');
        };
        const QByteArray row35 = QByteArray("0,").repeated(34) + "0";
        // The text with the first tile number after marker replaced.
        const auto withFirstTile
            = [](QByteArray text, const QByteArray &marker, const QByteArray &tile) {
                  const qsizetype at = text.indexOf(marker) + marker.size();
                  qsizetype end = at;
                  while (end < text.size() && text[end] >= '0' && text[end] <= '9')
                      ++end;
                  return text.replace(at, end - at, tile);
              };
        const QByteArray tmxData = "<data encoding=\"csv\">\n";
        const QByteArray tmjData = "\"data\":[\n            ";

        QTest::newRow("csv: code 65")
            << 0 << withLine(csv, 2, QByteArray("65,") + row35.mid(2)) << 3 << "65";
        QTest::newRow("csv: code -1")
            << 0 << withLine(csv, 0, QByteArray("-1,") + row35.mid(2)) << 1 << "\"-1\"";
        QTest::newRow("csv: short row") << 0 << withLine(csv, 4, row35.mid(2)) << 5 << "34 codes";
        QTest::newRow("csv: long row")
            << 0 << withLine(csv, 4, row35 + ",0") << 5 << "more than 35";
        QTest::newRow("csv: empty field")
            << 0 << withLine(csv, 1, row35.mid(2) + ",") << 2 << "code 35 of the row, \"\", is not";
        QTest::newRow("csv: 24 rows") << 0 << csv.left(csv.lastIndexOf('\n', csv.size() - 2) + 1)
                                      << 25 << "ends after 24 rows";
        QTest::newRow("csv: 26 rows") << 0 << csv + row35 + "\n" << 26 << "one more";
        QTest::newRow("csv: blank line inside") << 0 << withLine(csv, 3, "") << 4 << "empty";
        QTest::newRow("csv: binary noise")
            << 0 << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << 1 << "not a whole number";

        QTest::newRow("tmx: DOCTYPE")
            << 1
            << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE map SYSTEM \"x.dtd\">\n")
                + tmx.mid(tmx.indexOf("<map"))
            << 2 << "DOCTYPE";
        QTest::newRow("tmx: entity bomb")
            << 1
            << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n <!ENTITY lol \"lol\">\n"
                          " <!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n"
                          " <!ENTITY lol3 "
                          "\"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">\n]>\n"
                          "<map>&lol3;</map>\n")
            << 6 << "DOCTYPE";
        QTest::newRow("tmx: another size")
            << 1
            << QByteArray(tmx).replace(
                   "width=\"35\" height=\"25\" tilewidth", "width=\"36\" height=\"25\" tilewidth")
            << 2 << "36 x 25";
        QTest::newRow("tmx: another tileset")
            << 1 << QByteArray(tmx).replace("name=\"vellumor-symbols\"", "name=\"dungeon\"") << 3
            << "\"dungeon\"";
        QTest::newRow("tmx: external tileset") << 1
                                               << QByteArray(tmx).replace("<tileset firstgid=\"1\"",
                                                      "<tileset firstgid=\"1\" source=\"s.tsx\"")
                                               << 3 << "file of its own";
        QTest::newRow("tmx: two tile layers")
            << 1
            << QByteArray(tmx).replace(" </layer>\n",
                   " </layer>\n <layer id=\"2\" name=\"B\" width=\"35\" height=\"25\"/>\n")
            << 35 << "more than one tile layer";
        QTest::newRow("tmx: flipped tile")
            << 1 << withFirstTile(tmx, tmxData, "2147483649") << 8 << "flipped or rotated";
        QTest::newRow("tmx: tile 66")
            << 1 << withFirstTile(tmx, tmxData, "66") << 8 << "not in the Vellumor tileset";
        QTest::newRow("tmx: bad tile on line 9") << 1 << withLine(tmx, 8, "x,") << 9 << "\"x\"";
        QTest::newRow("tmx: infinite")
            << 1 << QByteArray(tmx).replace("infinite=\"0\"", "infinite=\"1\"") << 2 << "infinite";
        QByteArray bomb = QByteArray(tmx);
        bomb.replace(bomb.indexOf("<data"), bomb.indexOf("</data>") - bomb.indexOf("<data"),
            "<data encoding=\"base64\" compression=\"zlib\">"
                + compress(QByteArray(64 << 20, '\0'), 15).toBase64());
        QTest::newRow("tmx: zlib bomb") << 1 << bomb << 7 << "more than 875 tiles";
        QTest::newRow("tmx: zstd")
            << 1 << tmxWithBase64(everyCode(), QStringLiteral("zstd")) << 7 << "zstd";
        QTest::newRow("tmx: not xml") << 1 << QByteArray("\x7f\x45LF\x02\x01\x01\0", 8) << 1 << "";
        QTest::newRow("tmx: truncated")
            << 1 << tmx.left(tmx.size() / 2) << int(tmx.left(tmx.size() / 2).count('\n')) + 1 << "";

        QTest::newRow("tmj: deep nesting")
            << 2 << QByteArray("{\"a\":\n") + QByteArray("[").repeated(100000) << 2
            << "nest more than";
        QTest::newRow("tmj: broken json")
            << 2
            << QByteArray(tmj).replace(
                   "\"height\":25,\n  \"infinite\"", "\"height\":25\n  \"infinite\"")
            << 4 << "";
        QTest::newRow("tmj: another size")
            << 2 << QByteArray(tmj).replace("\"width\":35\n}", "\"width\":40\n}") << 0 << "40 x 25";
        QTest::newRow("tmj: two tilesets")
            << 2
            << QByteArray(tmj).replace(
                   "\"tilesets\":[\n", "\"tilesets\":[{\"firstgid\":100,\"name\":\"x\"},\n")
            << 0 << "more than one tileset";
        QTest::newRow("tmj: rotated")
            << 2 << withFirstTile(tmj, tmjData, "536870913") << 0 << "flipped or rotated";
        QTest::newRow("tmj: 874 tiles")
            << 2 << withFirstTile(tmj, tmjData, "").replace(tmjData + ",", tmjData) << 0
            << "874 tiles";
        QTest::newRow("tmj: fractional tile")
            << 2 << withFirstTile(tmj, tmjData, "1.5") << 0 << "tile 1 ";
        QTest::newRow("tmj: group of two layers")
            << 2
            << QByteArray(tmj).replace("\"layers\":[\n",
                   "\"layers\":[{\"type\":\"group\",\"layers\":[{\"type\":\"tilelayer\"}]},\n")
            << 0 << "more than one tile layer";
        QTest::newRow("tmj: not a map") << 2 << QByteArray("[1,2,3]") << 0 << "not a Tiled map";
    }

    void refusedImports()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, complaint);
        const Decode decoders[] = {csvformat::decode, tmxformat::decode, tmjformat::decode};
        const auto result = decoders[format](bytes);
        QVERIFY2(std::holds_alternative<FormatError>(result), "accepted");
        const FormatError &error = std::get<FormatError>(result);
        QVERIFY2(error.problem.contains(complaint), qPrintable(error.problem));
        QVERIFY2(!error.problem.isEmpty(), "no reason given");
        QCOMPARE(error.line, line);
    }

    void hugeFilesAreReadNoFurtherThanTheCap()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.tmx"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Sparse: a gigabyte of size that takes no room on the disk.
        QVERIFY(file.resize(qint64(1) << 30));
        file.close();
        const auto result = formats::readCapped(path, 1024 * 1024);
        QVERIFY(std::holds_alternative<FormatError>(result));
        QVERIFY(std::get<FormatError>(result).problem.contains(QStringLiteral("larger than")));

        QVERIFY(writeFile(path, QByteArray(1024, 'x')));
        QCOMPARE(std::get<QByteArray>(formats::readCapped(path, 1024)).size(), 1024);
        QVERIFY(std::holds_alternative<FormatError>(formats::readCapped(dir.path(), 1024)));
    }
};

QTEST_GUILESS_MAIN(TestMapFormats)
#include "test_mapformats.moc"
