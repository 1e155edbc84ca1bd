#pragma once

#include "document/MapStorage.h"

#include <QStringList>
#include <QVector>

namespace vellumor::testing {

// Stands in for the map view: stores codes as PaintCell does and records the order.
class RecordingPainter final : public CellPainter
{
public:
    explicit RecordingPainter(Standard &document)
        : m_document(document)
    { }
    void PaintCell(int index, SymbolCode code) override
    {
        m_document.MapCells[std::size_t(index)] = code;
        painted.append(index);
    }
    QVector<int> painted;

private:
    Standard &m_document;
};

class RecordingTitle final : public TitleDisplay
{
public:
    void showTitle(const QString &title) override { titles.append(title); }
    QString current() const { return titles.isEmpty() ? QString() : titles.last(); }
    QStringList titles;
};

} // namespace vellumor::testing
