#pragma once

#include "document/Standard.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <optional>
#include <variant>

namespace vellumor::mapexport {

enum class Paper { A4, Letter };

struct PdfOptions
{
    qreal cellMillimetres = 25.4; // one inch
    Paper paper = Paper::A4;
    bool fit = false; // the whole map on one page, cells as large as fit
    QString title; // names the map on every page
};

// Smallest and largest cell that print sensibly.
inline constexpr qreal kMinCellMillimetres = 2;
inline constexpr qreal kMaxCellMillimetres = 150;

// "1in", "25.4mm", "2.54cm": a length in millimetres, or nothing.
std::optional<qreal> parseLength(const QString &text);

// How a map is split over pages: cells per page and pages across and down, in
// whichever orientation needs fewer pages (portrait when even).
struct PagePlan
{
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    qreal cellMillimetres = 0;
    int columnsPerPage = 0;
    int rowsPerPage = 0;
    int pagesAcross = 0;
    int pagesDown = 0;
};

// The plan, or why the cell is too large for the paper.
std::variant<PagePlan, QString> planPages(const PdfOptions &options);

// The map printed at scale: grid lines on, 10 mm margins, each page labelled
// with its place and marked where to cut at the edges of its part of the map.
QByteArray exportPdf(const MapCodes &codes, const PdfOptions &options, const PagePlan &plan);

} // namespace vellumor::mapexport
