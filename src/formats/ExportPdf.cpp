#include "formats/ExportPdf.h"

#include "document/CellGrid.h"
#include "mapview/MapRenderer.h"
#include "pictures/SymbolPictures.h"

#include <QBuffer>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

#include <cmath>

namespace vellumor::mapexport {

namespace {

constexpr qreal kMarginMm = 10;
constexpr qreal kLabelMm = 7; // the strip above the map that holds the page's label
constexpr qreal kMarkGapMm = 1; // cut marks start this far outside a corner
constexpr qreal kMarkLengthMm = 4;
// Pictures are enlarged this much before they go into the file, so that a
// viewer's smoothing blurs no more than an eighth of a picture's pixel.
constexpr int kPictureEnlargement = 8;

QSizeF paperMillimetres(Paper paper, QPageLayout::Orientation orientation)
{
    const QSizeF portrait = paper == Paper::A4 ? QSizeF(210, 297) : QSizeF(215.9, 279.4);
    return orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

// Room for the map on a page: inside the margins, below the label.
QSizeF mapAreaMillimetres(Paper paper, QPageLayout::Orientation orientation)
{
    const QSizeF page = paperMillimetres(paper, orientation);
    return {page.width() - 2 * kMarginMm, page.height() - 2 * kMarginMm - kLabelMm};
}

int wholeCells(qreal room, qreal cell)
{
    // A hair of tolerance, so that cells that fit exactly are not lost to rounding.
    return int(std::floor(room / cell + 1e-9));
}

} // namespace

std::optional<qreal> parseLength(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]+)?|\\.[0-9]+)\\s*(in|mm|cm)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qreal value = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    const qreal factor = unit == QLatin1String("in") ? 25.4 : unit == QLatin1String("cm") ? 10 : 1;
    return value * factor;
}

std::variant<PagePlan, QString> planPages(const PdfOptions &options)
{
    std::optional<PagePlan> best;
    for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        const QSizeF room = mapAreaMillimetres(options.paper, orientation);
        PagePlan plan;
        plan.orientation = orientation;
        if (options.fit) {
            plan.cellMillimetres = std::min(room.width() / kMapColumns, room.height() / kMapRows);
            plan.columnsPerPage = kMapColumns;
            plan.rowsPerPage = kMapRows;
            plan.pagesAcross = plan.pagesDown = 1;
            if (!best || plan.cellMillimetres > best->cellMillimetres + 1e-9)
                best = plan;
            continue;
        }
        plan.cellMillimetres = options.cellMillimetres;
        plan.columnsPerPage = std::min(kMapColumns, wholeCells(room.width(), plan.cellMillimetres));
        plan.rowsPerPage = std::min(kMapRows, wholeCells(room.height(), plan.cellMillimetres));
        if (plan.columnsPerPage < 1 || plan.rowsPerPage < 1)
            continue;
        plan.pagesAcross = (kMapColumns + plan.columnsPerPage - 1) / plan.columnsPerPage;
        plan.pagesDown = (kMapRows + plan.rowsPerPage - 1) / plan.rowsPerPage;
        if (!best || plan.pagesAcross * plan.pagesDown < best->pagesAcross * best->pagesDown)
            best = plan;
    }
    if (!best) {
        return QStringLiteral("a cell of %1 mm does not fit on the page")
            .arg(options.cellMillimetres, 0, 'g', 4);
    }
    return *best;
}

namespace {

class PdfPrinter
{
public:
    PdfPrinter(const MapCodes &codes, const PdfOptions &options, const PagePlan &plan)
        : m_codes(codes)
        , m_options(options)
        , m_plan(plan)
    { }

    QByteArray print();

private:
    qreal toDevice(qreal millimetres) const { return millimetres / 25.4 * m_resolution; }
    void printPage(QPainter &painter, int pageRow, int pageColumn);
    void drawCutMarks(QPainter &painter, const QRectF &area);
    const QImage &picture(int code);

    const MapCodes &m_codes;
    const PdfOptions &m_options;
    const PagePlan &m_plan;
    int m_resolution = 1200;
    QHash<int, QImage> m_pictures;
};

const QImage &PdfPrinter::picture(int code)
{
    auto found = m_pictures.find(code);
    if (found == m_pictures.end()) {
        QImage enlarged;
        if (const auto image = SymbolPicture(code); image && !image->isNull())
            enlarged = image->scaled(
                image->size() * kPictureEnlargement, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        found = m_pictures.insert(code, enlarged);
    }
    return *found;
}

QByteArray PdfPrinter::print()
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(m_resolution);
    writer.setTitle(m_options.title);
    writer.setCreator(QStringLiteral("Vellumor"));
    const QPageSize size(m_options.paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter);
    writer.setPageLayout(QPageLayout(size, m_plan.orientation, QMarginsF(0, 0, 0, 0)));

    QPainter painter(&writer);
    for (int pageRow = 0; pageRow < m_plan.pagesDown; ++pageRow) {
        for (int pageColumn = 0; pageColumn < m_plan.pagesAcross; ++pageColumn) {
            if (pageRow > 0 || pageColumn > 0)
                writer.newPage();
            printPage(painter, pageRow, pageColumn);
        }
    }
    painter.end();
    return pdf;
}

void PdfPrinter::printPage(QPainter &painter, int pageRow, int pageColumn)
{
    const int firstColumn = pageColumn * m_plan.columnsPerPage;
    const int firstRow = pageRow * m_plan.rowsPerPage;
    const int columns = std::min(m_plan.columnsPerPage, kMapColumns - firstColumn);
    const int rows = std::min(m_plan.rowsPerPage, kMapRows - firstRow);
    const qreal cell = toDevice(m_plan.cellMillimetres);
    const QPointF origin(toDevice(kMarginMm), toDevice(kMarginMm + kLabelMm));
    const QRectF area(origin, QSizeF(columns * cell, rows * cell));

    QString place = m_options.fit
        ? QStringLiteral("the whole map, a cell %1 mm").arg(m_plan.cellMillimetres, 0, 'f', 1)
        : QStringLiteral("row %1, column %2 of %3 x %4")
              .arg(pageRow + 1)
              .arg(pageColumn + 1)
              .arg(m_plan.pagesDown)
              .arg(m_plan.pagesAcross);
    if (!m_options.title.isEmpty())
        place = m_options.title + QStringLiteral(": ") + place;
    QFont font = painter.font();
    font.setPointSizeF(9);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(toDevice(kMarginMm + kMarkGapMm + kMarkLengthMm), toDevice(kMarginMm),
                         area.width(), toDevice(kLabelMm - kMarkGapMm)),
        Qt::AlignLeft | Qt::AlignVCenter, place);

    painter.fillRect(area, Qt::white);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int code = m_codes[std::size_t(cellIndex(firstColumn + column, firstRow + row))];
            const QImage &image = picture(code);
            if (!image.isNull())
                painter.drawImage(
                    QRectF(origin.x() + column * cell, origin.y() + row * cell, cell, cell), image);
        }
    }

    QPen grid(MapRenderer::borderColour());
    grid.setWidthF(toDevice(0.15));
    painter.setPen(grid);
    for (int column = 0; column <= columns; ++column)
        painter.drawLine(QPointF(area.left() + column * cell, area.top()),
            QPointF(area.left() + column * cell, area.bottom()));
    for (int row = 0; row <= rows; ++row)
        painter.drawLine(QPointF(area.left(), area.top() + row * cell),
            QPointF(area.right(), area.top() + row * cell));
    drawCutMarks(painter, area);
}

// Short hairlines outside each corner of the page's part of the map, in line
// with its edges: the cuts that let the pages be laid edge to edge.
void PdfPrinter::drawCutMarks(QPainter &painter, const QRectF &area)
{
    QPen pen(Qt::black);
    pen.setWidthF(toDevice(0.1));
    painter.setPen(pen);
    const qreal gap = toDevice(kMarkGapMm);
    const qreal end = toDevice(kMarkGapMm + kMarkLengthMm);
    for (const QPointF corner :
        {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        const qreal outX = corner.x() == area.left() ? -1 : 1;
        const qreal outY = corner.y() == area.top() ? -1 : 1;
        painter.drawLine(QPointF(corner.x() + outX * gap, corner.y()),
            QPointF(corner.x() + outX * end, corner.y()));
        painter.drawLine(QPointF(corner.x(), corner.y() + outY * gap),
            QPointF(corner.x(), corner.y() + outY * end));
    }
}

} // namespace

namespace {

// Qt stamps every PDF with the time it was written, so no two exports of a map
// would be the same bytes. The entry is blanked out with spaces, which leaves
// every byte offset in the file's cross-reference table where it was.
void blankCreationDate(QByteArray &pdf)
{
    static const QRegularExpression stamp(
        QStringLiteral("/CreationDate \\(D:[0-9]{14}(Z|[+-][0-9]{2}'[0-9]{2}')?\\)"));
    // The document's information comes first, before any page.
    const QString head = QString::fromLatin1(pdf.left(4096));
    const QRegularExpressionMatch match = stamp.match(head);
    if (match.hasMatch())
        pdf.replace(
            match.capturedStart(), match.capturedLength(), QByteArray(match.capturedLength(), ' '));
}

} // namespace

QByteArray exportPdf(const MapCodes &codes, const PdfOptions &options, const PagePlan &plan)
{
    QByteArray pdf = PdfPrinter(codes, options, plan).print();
    blankCreationDate(pdf);
    return pdf;
}

} // namespace vellumor::mapexport
