#include "pictures/SymbolPictures.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolJoins.h"
#include "symbols/SymbolShapes.h"

#include <QTest>

using namespace vellumor;

namespace {

// Colours of the symbol pictures, as resources/art/legend.txt gives them.
constexpr QRgb kInk = qRgb(52, 42, 46);
constexpr QRgb kWater = qRgb(76, 142, 206);
constexpr QRgb kBank = qRgb(36, 76, 138);
constexpr QRgb kLightStone = qRgb(214, 212, 206);
constexpr QRgb kStone = qRgb(164, 162, 158);

constexpr int kMiddle = 7;
constexpr int kLast = 14;

// The pixel `along` pixels along the edge of the picture on that side.
QRgb edgePixel(const QImage &picture, Side side, int along)
{
    switch (side) {
    case Side::North:
        return picture.pixel(along, 0);
    case Side::South:
        return picture.pixel(along, kLast);
    case Side::West:
        return picture.pixel(0, along);
    case Side::East:
        return picture.pixel(kLast, along);
    }
    return 0;
}

bool edgeMatches(const QImage &picture, Side side, int from, std::initializer_list<QRgb> band)
{
    int along = from;
    for (const QRgb colour : band) {
        if (edgePixel(picture, side, along++) != colour)
            return false;
    }
    return true;
}

// A river is open at the middle of an edge: bank, three of water, bank.
bool riverLeavesBy(const QImage &picture, Side side)
{
    return edgeMatches(picture, side, kMiddle - 2, {kBank, kWater, kWater, kWater, kBank});
}

// A wall meets the edge as ink, light stone, three of stone, light stone, ink.
bool wallLeavesBy(const QImage &picture, Side side)
{
    return edgeMatches(
        picture, side, kMiddle - 3, {kInk, kLightStone, kStone, kStone, kStone, kLightStone, kInk});
}

QString where(int code, Side side)
{
    return QStringLiteral("%1 (%2), %3 side").arg(symbolName(code)).arg(code).arg(sideName(side));
}

} // namespace

class TestJoins : public QObject
{
    Q_OBJECT
private slots:
    void riversAndWallsLeaveExactlyWhereThePicturesDrawThem()
    {
        for (int code = 1; code <= kHighestSymbolCode; ++code) {
            const auto picture = SymbolPicture(code);
            QVERIFY(picture && picture->width() == kLast + 1 && picture->height() == kLast + 1);
            const QImage image = picture->convertToFormat(QImage::Format_RGB32);
            const SymbolJoins &joins = symbolJoins(code);
            for (const Side side : kSides) {
                QVERIFY2(riverLeavesBy(image, side) == has(joins.river, side),
                    qPrintable(where(code, side)));
                QVERIFY2(wallLeavesBy(image, side) == has(joins.wall, side),
                    qPrintable(where(code, side)));
            }
        }
    }

    void junctionsAndGatesAreWhatTheirNamesSay()
    {
        for (int code = 1; code <= kHighestSymbolCode; ++code) {
            const QString name = symbolName(code);
            const SymbolJoins &joins = symbolJoins(code);
            QCOMPARE(joins.junction,
                name.startsWith(QLatin1String("Guard Post"))
                    || name.startsWith(QLatin1String("Small Pond")));
            QCOMPARE(joins.gate != GateMaterial::None, name.contains(QLatin1String("Gate")));
            if (joins.gate != GateMaterial::None) {
                QVERIFY(isWalkable(code));
                QCOMPARE(
                    joins.wall == kHorizontalSides, name.endsWith(QLatin1String("Horizontal")));
            }
        }
        QCOMPARE(symbolJoins(-1).river | symbolJoins(65).wall, SideSet(0));
    }

    // A piece that needs a partner on one side is that partner's partner on
    // the other, so that a picture reads the same from any of its pieces.
    void picturePartnersPointBackAtEachOther()
    {
        for (const PiecePartner &need : piecePartners()) {
            for (const SymbolCode partner : need.accepts) {
                const bool plainWater
                    = symbolJoins(partner).openWater && piecePartners(partner).empty();
                if (partner == 0 || plainWater)
                    continue;
                bool pointsBack = false;
                for (const PiecePartner &back : piecePartners(partner)) {
                    for (const Side side : kSides) {
                        if (has(need.sides, side) && has(back.sides, opposite(side))
                            && std::find(back.accepts.begin(), back.accepts.end(), need.code)
                                != back.accepts.end())
                            pointsBack = true;
                    }
                }
                QVERIFY2(
                    pointsBack, qPrintable(QStringLiteral("%1 -> %2").arg(need.code).arg(partner)));
                QCOMPARE(QString::fromLatin1(need.rule).endsWith(QLatin1String("-incomplete")),
                    need.completable || symbolJoins(need.code).openWater);
            }
        }
    }

    // The palette lays each picture's pieces out as the picture stands, so a
    // piece put at the wrong place of its shape shows as a palette mismatch.
    void shapesStandAsInThePalette()
    {
        for (const PictureShape *each : kPictureShapes) {
            const PictureShape &shape = *each;
            if (shape.kind == ShapeKind::Run)
                continue;
            const SymbolInfo origin = *symbolInfo(shape.at(0, 0));
            for (int row = 0; row < shape.rows; ++row) {
                for (int column = 0; column < shape.columns; ++column) {
                    const SymbolInfo piece = *symbolInfo(shape.at(column, row));
                    QVERIFY2(piece.column == origin.column + column && piece.row == origin.row + row
                            && piece.set == origin.set,
                        piece.name);
                    const ShapePlace place = shapePlace(piece.code);
                    QVERIFY(place.shape == &shape && place.column == column && place.row == row);
                }
            }
        }
    }

    void buildingsAndLakes()
    {
        QVERIFY(
            isBuilding(sym::Well) && isBuilding(sym::CastleTopLeft) && isBuilding(sym::Stables));
        QVERIFY(!isBuilding(sym::Cemetery) && !isBuilding(sym::Wagon) && !isBuilding(sym::Blank));
        QVERIFY(isLake(sym::Water) && isLake(sym::LakeBottomRight));
        QVERIFY(!isLake(sym::PondRiverJoint) && !isLake(sym::RiverVertical) && !isLake(-1));
    }

    void everyRunOfTwoSidesHasItsPiece()
    {
        for (const Side a : kSides) {
            for (const Side b : kSides) {
                if (a == b)
                    continue;
                const SideSet sides = SideSet(sideBit(a) | sideBit(b));
                QCOMPARE(symbolJoins(riverPiece(sides)).river, sides);
                QCOMPARE(symbolJoins(wallPiece(sides)).wall, sides);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestJoins)
#include "test_joins.moc"
