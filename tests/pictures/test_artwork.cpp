#include "artgen/ArtSource.h"
#include "artgen/ToolbarArt.h"
#include "pictures/Artwork.h"
#include "pictures/BmpImage.h"
#include "pictures/SymbolPictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QSet>
#include <QTest>

using namespace vellumor;

namespace {

enum Edge { North, East, South, West };
constexpr int kSide = 15;
const QRgb kPaper = qRgb(255, 255, 255);

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The pixels alone, whatever the format and the device pixel ratio.
// Whether shown is stored with its light grey face see-through and every other
// pixel as it was.
bool isKeyedOnGrey(QImage shown, const QImage &stored)
{
    shown.setDevicePixelRatio(1);
    shown = shown.convertToFormat(QImage::Format_ARGB32);
    if (shown.size() != stored.size())
        return false;
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            const QRgb was = stored.pixel(x, y);
            const QRgb is = shown.pixel(x, y);
            const bool ok
                = was == qRgb(192, 192, 192) ? qAlpha(is) == 0 : is == (was | 0xff000000u);
            if (!ok)
                return false;
        }
    }
    return true;
}

QImage symbol(int code)
{
    return SymbolPicture(code).value_or(QImage());
}

QList<QRgb> edge(const QImage &image, Edge side)
{
    QList<QRgb> pixels;
    for (int i = 0; i < kSide; ++i) {
        switch (side) {
        case North:
            pixels.append(image.pixel(i, 0));
            break;
        case South:
            pixels.append(image.pixel(i, kSide - 1));
            break;
        case West:
            pixels.append(image.pixel(0, i));
            break;
        case East:
            pixels.append(image.pixel(kSide - 1, i));
            break;
        }
    }
    return pixels;
}

bool isPlain(const QList<QRgb> &pixels, QRgb colour)
{
    return std::all_of(pixels.begin(), pixels.end(), [&](QRgb p) { return p == colour; });
}

QString where(int a, int b)
{
    return QStringLiteral("%1 and %2").arg(a).arg(b);
}

// Pieces that join at some of their edges: a river, or a wall with its gates
// and guard posts. An open edge must meet every other open edge it can face;
// a closed edge is plain paper, so that nothing pokes into the next cell.
struct Joining
{
    int code;
    QSet<Edge> open;
};

void checkJoins(const QList<Joining> &pieces)
{
    for (const Joining &piece : pieces) {
        for (Edge side : {North, East, South, West}) {
            if (!piece.open.contains(side))
                QVERIFY2(isPlain(edge(symbol(piece.code), side), kPaper),
                    qPrintable(QStringLiteral("%1 closed edge %2").arg(piece.code).arg(side)));
        }
    }
    for (const Joining &a : pieces) {
        for (const Joining &b : pieces) {
            if (a.open.contains(East) && b.open.contains(West))
                QVERIFY2(edge(symbol(a.code), East) == edge(symbol(b.code), West),
                    qPrintable(where(a.code, b.code)));
            if (a.open.contains(South) && b.open.contains(North))
                QVERIFY2(edge(symbol(a.code), South) == edge(symbol(b.code), North),
                    qPrintable(where(a.code, b.code)));
        }
    }
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT
private slots:
    void everySymbolIsStoredInTheOneBitmapLayout()
    {
        const QByteArray first = resourceBytes(QStringLiteral(":/") + symbolPicturePath(1));
        QCOMPARE(first.size(), 1798);
        for (int code = 1; code <= 64; ++code) {
            const QByteArray bytes = resourceBytes(QStringLiteral(":/") + symbolPicturePath(code));
            QCOMPARE(bytes.size(), 1798);
            // headers and colour table identical in every file, and as written by us
            QCOMPARE(bytes.left(bmp::kPixelDataOffset), first.left(bmp::kPixelDataOffset));
            for (int row = 0; row < kSide; ++row) {
                const qsizetype padding = bmp::kPixelDataOffset + row * 48 + 45;
                QCOMPARE(bytes.mid(padding, 3), QByteArray(3, '\0'));
            }
        }
        const auto table = bmp::colourTable();
        for (int i = 0; i < 256; ++i) {
            const char *entry = first.constData() + 54 + 4 * i;
            QCOMPARE(qRgb(uchar(entry[2]), uchar(entry[1]), uchar(entry[0])),
                table[std::size_t(i)] | 0xFF000000);
            QCOMPARE(entry[3], '\0');
        }
    }

    void storedBitmapsAreWhatTheArtSourceSays()
    {
        QList<art::Source> sources;
        for (const QString &name : art::symbolSourceFiles())
            sources.append({name, resourceBytes(QStringLiteral(":/art/") + name)});
        const auto parsed = art::parse(sources);
        QVERIFY2(parsed.artwork, qPrintable(parsed.error));
        const auto symbols = art::symbolPictures(*parsed.artwork);
        QVERIFY2(symbols.pictures, qPrintable(symbols.error));
        for (int code = 1; code <= 64; ++code) {
            const QByteArray stored = resourceBytes(QStringLiteral(":/") + symbolPicturePath(code));
            QVERIFY2(bmp::encode((*symbols.pictures)[std::size_t(code)]) == stored,
                qPrintable(QStringLiteral("symbol %1 differs from its source; run vellumor-artgen")
                               .arg(code)));
        }
    }

    void artSourceMistakesAreReportedWithTheirLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        const QByteArray legend = "colour . 255 255 255 paper\ncolour K 0 0 0 ink\n";
        QTest::newRow("ragged row") << legend + "picture 1 House\n..K\n.K\n"
                                    << "line 5: row is 2 wide";
        QTest::newRow("unknown colour") << legend + "picture 1 House\n..Z\n"
                                        << "line 4: no colour for 'Z'";
        QTest::newRow("colour twice") << legend + "colour K 1 1 1 again\n"
                                      << "line 3: 'K' defined twice";
        QTest::newRow("out of range")
            << QByteArray("colour K 256 0 0 ink\n") << "line 1: colour out of range";
        QTest::newRow("stray text") << legend + "..K\n"
                                    << "line 3: not understood";
    }
    void artSourceMistakesAreReportedWithTheirLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const auto parsed = art::parse({{QStringLiteral("test.txt"), text}});
        QVERIFY(!parsed.artwork);
        QVERIFY2(parsed.error.startsWith(QStringLiteral("test.txt ") + message),
            qPrintable(parsed.error));
    }

    void symbolArtNeedsEveryCodeOnce()
    {
        const QByteArray blankRows = QByteArray(15, '.').append('\n').repeated(15);
        QByteArray text = "colour . 255 255 255 paper\n";
        for (int code = 1; code <= 63; ++code)
            text += "picture " + QByteArray::number(code) + "\n" + blankRows + "\n";
        const auto parsed = art::parse({{QStringLiteral("set.txt"), text}});
        QVERIFY2(parsed.artwork, qPrintable(parsed.error));
        QCOMPARE(
            art::symbolPictures(*parsed.artwork).error, QStringLiteral("symbol 64 is missing"));
    }

    void picturesAreSharedAndOnlyForKnownCodes()
    {
        QVERIFY(SymbolPicture(0));
        QVERIFY(SymbolPicture(0)->isNull());
        QVERIFY(!SymbolPicture(-1));
        QVERIFY(!SymbolPicture(65));
        for (int code = 1; code <= 64; ++code) {
            const QImage picture = symbol(code);
            QCOMPARE(picture.size(), QSize(kSide, kSide));
            QCOMPARE(picture.depth(), 24);
            QCOMPARE(picture.cacheKey(), symbol(code).cacheKey()); // loaded once, then shared
        }
    }

    void picturesAreDistinctAndFilled()
    {
        for (int a = 1; a <= 64; ++a) {
            const QImage picture = symbol(a);
            int drawn = 0;
            for (int y = 0; y < kSide; ++y) {
                for (int x = 0; x < kSide; ++x)
                    drawn += picture.pixel(x, y) != kPaper;
            }
            QVERIFY2(drawn * 10 >= kSide * kSide * 4,
                qPrintable(QStringLiteral("%1 is mostly empty").arg(a)));
            for (int b = a + 1; b <= 64; ++b)
                QVERIFY2(picture != symbol(b), qPrintable(where(a, b)));
        }
    }

    void riversRunUnbroken()
    {
        checkJoins({{28, {West, East}}, {32, {North, South}}, {30, {North, East, South, West}},
            {33, {North, East}}, {34, {North, West}}, {35, {South, East}}, {36, {South, West}}});
    }

    void wallsAndGatesJoin()
    {
        checkJoins({{53, {South, East}}, {54, {West, East}}, {55, {South, West}},
            {56, {North, South}}, {57, {North, East}}, {58, {West, East}}, {59, {North, West}},
            {60, {North, South}}, {61, {North, East, South, West}}, {62, {West, East}},
            {63, {North, East, South, West}}, {64, {North, South}}});
    }

    void piecesOfOneBuildingJoin_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("beside"); // else the first stands above the second
        const int besides[][2] = {{5, 6}, {9, 10}, {13, 14}, {17, 18}, {18, 19}, {21, 22}, {22, 23},
            {26, 27}, {29, 31}, {7, 8}, {8, 11}, {11, 7}, {7, 7}, {8, 8}, {11, 8}};
        for (const auto &[a, b] : besides)
            QTest::addRow("%d beside %d", a, b) << a << b << true;
        const int aboves[][2]
            = {{5, 9}, {6, 10}, {17, 21}, {18, 22}, {19, 23}, {20, 24}, {26, 29}, {27, 31}};
        for (const auto &[a, b] : aboves)
            QTest::addRow("%d above %d", a, b) << a << b << false;
    }
    void piecesOfOneBuildingJoin()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, beside);
        if (beside)
            QCOMPARE(edge(symbol(first), East), edge(symbol(second), West));
        else
            QCOMPARE(edge(symbol(first), South), edge(symbol(second), North));
    }

    void lakeStandsOnDryLand()
    {
        QVERIFY(
            isPlain(edge(symbol(26), North), kPaper) && isPlain(edge(symbol(26), West), kPaper));
        QVERIFY(
            isPlain(edge(symbol(27), North), kPaper) && isPlain(edge(symbol(27), East), kPaper));
        QVERIFY(
            isPlain(edge(symbol(29), South), kPaper) && isPlain(edge(symbol(29), West), kPaper));
        QVERIFY(
            isPlain(edge(symbol(31), South), kPaper) && isPlain(edge(symbol(31), East), kPaper));
    }

    void groundTilesTileWithoutSeams_data()
    {
        QTest::addColumn<int>("ground");
        QTest::addColumn<QList<int>>("standingOnIt");
        QTest::newRow("water") << 25 << QList<int> {};
        QTest::newRow("sand") << 45 << QList<int> {46, 47, 48};
        QTest::newRow("swamp") << 49 << QList<int> {};
        QTest::newRow("grass") << 51 << QList<int> {50};
        QTest::newRow("dry grass") << 52 << QList<int> {};
    }
    void groundTilesTileWithoutSeams()
    {
        QFETCH(int, ground);
        QFETCH(QList<int>, standingOnIt);
        const QImage tile = symbol(ground);
        const QRgb base = tile.pixel(0, 0);
        QVERIFY(base != kPaper);
        for (int code : QList<int> {ground} + standingOnIt) {
            for (Edge side : {North, East, South, West})
                QVERIFY2(
                    isPlain(edge(symbol(code), side), base), qPrintable(QString::number(code)));
        }
    }

    void programPicturesAreThereAtEverySize()
    {
        const QIcon icon = programIcon();
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QImage image(QStringLiteral(":/icons/vellumor-%1.png").arg(size));
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        }
        const QPixmap emblem = aboutEmblem();
        QCOMPARE(emblem.size(), QSize(75, 75));
        QVERIFY(!emblem.hasAlphaChannel());
        QCOMPARE(companyLogo().size(), QSize(280, 120));
    }

    void toolbarPicturesAreWhatTheGeneratorDraws()
    {
        QList<art::Source> sources {
            {QStringLiteral("toolbar.txt"), resourceBytes(QStringLiteral(":/art/toolbar.txt"))}};
        const auto parsed = art::parse(sources);
        QVERIFY2(parsed.artwork, qPrintable(parsed.error));
        const auto drawn = art::toolbarPictures(*parsed.artwork);
        QVERIFY2(drawn.files, qPrintable(drawn.error));
        QCOMPARE(drawn.files->size(), 6);
        for (const art::ToolbarFile &file : *drawn.files) {
            const QByteArray stored = resourceBytes(QStringLiteral(":/") + file.path);
            QVERIFY2(bmp::encode(file.image) == stored,
                qPrintable(
                    file.path + QStringLiteral(" differs from its source; run vellumor-artgen")));
        }
    }

    void toolbarPicturesAreSixteenColoursOnLightGrey()
    {
        QList<art::Source> sources {
            {QStringLiteral("toolbar.txt"), resourceBytes(QStringLiteral(":/art/toolbar.txt"))}};
        const auto parsed = art::parse(sources);
        QVERIFY2(parsed.artwork, qPrintable(parsed.error));
        const std::pair<ToolbarPicture, const char *> pictures[] = {{ToolbarPicture::New, "new"},
            {ToolbarPicture::Open, "open"}, {ToolbarPicture::Save, "save"}};
        for (const auto &[picture, name] : pictures) {
            const QString base = QStringLiteral(":/toolbar/") + QLatin1String(name);
            const auto single = bmp::decode(resourceBytes(base + QStringLiteral(".bmp")));
            const auto twice = bmp::decode(resourceBytes(base + QStringLiteral("@2x.bmp")));
            QVERIFY(single && twice);
            QCOMPARE(single->size(), QSize(16, 16));
            QCOMPARE(twice->size(), QSize(32, 32));
            for (const QImage &image : {*single, *twice}) {
                QSet<QRgb> colours;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x)
                        colours.insert(image.pixel(x, y));
                }
                QVERIFY(colours.size() <= 16);
                QCOMPARE(image.pixel(0, 0), qRgb(192, 192, 192));
            }
            QCOMPARE(*single, parsed.artwork->find(QLatin1String(name))->image);

            // The icon hands out the stored pictures at either density, with
            // their grey face see-through so that any button face shows.
            const QIcon icon = toolbarIcon(picture);
            QCOMPARE(icon.availableSizes(), (QList<QSize> {QSize(16, 16), QSize(32, 32)}));
            QVERIFY(isKeyedOnGrey(icon.pixmap(QSize(16, 16), 1.0).toImage(), *single));
            QVERIFY(isKeyedOnGrey(icon.pixmap(QSize(16, 16), 2.0).toImage(), *twice));
        }
    }
};

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
