#include "artgen/SymbolSheet.h"

#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolNames.h"
#include "symbols/SymbolShapes.h"

#include <QFont>
#include <QPainter>
#include <QVector>

namespace vellumor::art {

namespace {

constexpr int kScale = 4;
constexpr int kCell = 15 * kScale;
constexpr int kMargin = 32;
constexpr int kColumns = 8;
constexpr int kEntryWidth = 124;
constexpr int kEntryHeight = kCell + 44;
constexpr int kWidth = 2 * kMargin + kColumns * kEntryWidth;

const QColor kInk(48, 40, 44);
const QColor kFaint(120, 112, 104);

struct Example
{
    const char *caption;
    QVector<QVector<int>> rows; // codes, 0 leaves the cell empty
};

// A picture as it stands on the map; a run of a long house as `pieces` says.
QVector<QVector<int>> picture(const PictureShape &shape, std::initializer_list<int> pieces = {})
{
    if (shape.kind == ShapeKind::Run)
        return {QVector<int>(pieces)};
    QVector<QVector<int>> rows;
    for (int row = 0; row < shape.rows; ++row) {
        rows.append(QVector<int>());
        for (int column = 0; column < shape.columns; ++column)
            rows.back().append(shape.at(column, row));
    }
    return rows;
}

QVector<QVector<int>> sideBySide(QVector<QVector<int>> left, const QVector<QVector<int>> &right)
{
    for (int row = 0; row < left.size(); ++row)
        left[row] += right.value(row);
    return left;
}

const QVector<Example> &examples()
{
    using namespace sym;
    static const QVector<Example> list {
        {"Inn", picture(kInn)},
        {"Church", picture(kChurch)},
        {"Castle and tower", sideBySide(picture(kCastle), picture(kTower))},
        {"Long houses",
            picture(
                kLongHouse, {LongHouseWindows, LongHouseDoor, LongHouseTavern, LongHouseWindows})},
        {"Lake", picture(kLake)},
        {"River",
            {{RiverHorizontal, RiverSW, 0, 0, RiverVertical, 0, 0, 0},
                {0, RiverVertical, 0, 0, RiverVertical, 0, RiverSE, RiverHorizontal},
                {0, RiverNE, RiverHorizontal, RiverHorizontal, PondRiverJoint, RiverHorizontal,
                    RiverNW, 0},
                {0, 0, 0, 0, RiverVertical, 0, 0, 0},
                {RiverHorizontal, RiverHorizontal, RiverHorizontal, RiverHorizontal, RiverNW, 0, 0,
                    0}}},
        {"Walled yard",
            {{WallSE, WallHorizontal, WoodenGateHorizontal, WallHorizontal, GuardPostSquare,
                 WallHorizontal, WallSW},
                {WallVertical, 0, 0, 0, 0, 0, WallVertical},
                {WoodenGateVertical, 0, Well, 0, House, 0, IronGateVertical},
                {WallVertical, 0, 0, 0, 0, 0, WallVertical},
                {WallNE, WallHorizontal, IronGateHorizontal, WallHorizontal, GuardPostRound,
                    WallHorizontal, WallNW}}},
        {"Water", {{Water, Water, Water}, {Water, Water, Water}, {Water, Water, Water}}},
        {"Sand", {{Sand, SandScrub, Sand}, {SandPalm, Sand, Wagon}, {Sand, Sand, SandScrub}}},
        {"Swamp", {{Swamp, Swamp, Swamp}, {Swamp, Swamp, Swamp}, {Swamp, Swamp, Swamp}}},
        {"Grass",
            {{Grass, Grass, Grass}, {Grass, CemeteryDestroyed, Grass}, {Grass, Grass, Grass}}},
        {"Dry grass",
            {{DryGrass, DryGrass, DryGrass}, {DryGrass, DryGrass, DryGrass},
                {DryGrass, DryGrass, DryGrass}}},
        {"Forest and hills",
            {{TreesEvergreen, TreesDeciduous, TreesOldEvergreen}, {TreesDead, Hills, Mountain},
                {MountainCave, Volcano, Hills}}},
    };
    return list;
}

QFont font(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void drawPicture(QPainter &painter, const QImage &picture, QPoint at)
{
    if (!picture.isNull())
        painter.drawImage(QRect(at, QSize(kCell, kCell)), picture);
}

int drawCatalog(QPainter &painter, const std::array<QImage, 65> &pictures, int top)
{
    for (const SymbolSetInfo &set : symbolSets()) {
        painter.setFont(font(20, true));
        painter.setPen(kInk);
        painter.drawText(QRect(kMargin, top, kWidth, 28), Qt::AlignLeft | Qt::AlignVCenter,
            QString::fromLatin1(set.frameCaption));
        top += 36;
        int index = 0;
        for (int code = set.firstCode; code <= set.lastCode; ++code, ++index) {
            const int x = kMargin + (index % kColumns) * kEntryWidth;
            const int y = top + (index / kColumns) * kEntryHeight;
            const QPoint at(x + (kEntryWidth - kCell) / 2, y);
            painter.fillRect(QRect(at, QSize(kCell, kCell)), Qt::white);
            drawPicture(painter, pictures[std::size_t(code)], at);
            painter.setPen(QColor(210, 204, 196));
            painter.drawRect(QRect(at - QPoint(1, 1), QSize(kCell + 1, kCell + 1)));
            painter.setPen(kFaint);
            painter.setFont(font(11));
            painter.drawText(QRect(x, y + kCell + 3, kEntryWidth, 40),
                Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                QStringLiteral("%1  %2").arg(code).arg(symbolName(code)));
        }
        top += ((index + kColumns - 1) / kColumns) * kEntryHeight + 12;
    }
    return top;
}

int drawExamples(QPainter &painter, const std::array<QImage, 65> &pictures, int top)
{
    painter.setFont(font(20, true));
    painter.setPen(kInk);
    painter.drawText(QRect(kMargin, top, kWidth, 28), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Put together"));
    top += 40;
    int x = kMargin;
    int rowHeight = 0;
    for (const Example &example : examples()) {
        const int columns = int(example.rows.first().size());
        const QSize size(columns * kCell, int(example.rows.size()) * kCell);
        if (x + size.width() > kWidth - kMargin) {
            x = kMargin;
            top += rowHeight + 36;
            rowHeight = 0;
        }
        painter.fillRect(QRect(QPoint(x, top), size), Qt::white);
        for (int row = 0; row < example.rows.size(); ++row) {
            for (int column = 0; column < columns; ++column) {
                const int code = example.rows[row][column];
                drawPicture(painter, pictures[std::size_t(code)],
                    QPoint(x + column * kCell, top + row * kCell));
            }
        }
        painter.setPen(QColor(210, 204, 196));
        painter.drawRect(QRect(QPoint(x - 1, top - 1), size + QSize(1, 1)));
        painter.setPen(kFaint);
        painter.setFont(font(12));
        painter.drawText(QRect(x, top + size.height() + 4, std::max(size.width(), 120), 20),
            Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(example.caption));
        x += std::max(size.width(), 120) + 28;
        rowHeight = std::max(rowHeight, size.height());
    }
    return top + rowHeight + 36;
}

} // namespace

QImage symbolSheet(const std::array<QImage, 65> &pictures)
{
    QImage sheet(kWidth, 2400, QImage::Format_RGB32);
    sheet.fill(QColor(246, 241, 230));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(kInk);
    painter.setFont(font(28, true));
    painter.drawText(QRect(kMargin, kMargin - 8, kWidth, 40), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Vellumor map symbols"));
    int top = drawCatalog(painter, pictures, kMargin + 48);
    top = drawExamples(painter, pictures, top + 8);
    painter.end();
    return sheet.copy(0, 0, kWidth, top + kMargin - 24);
}

} // namespace vellumor::art
