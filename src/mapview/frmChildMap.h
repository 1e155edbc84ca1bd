#pragma once

#include "MapStorage.h"

#include <QWidget>

namespace vellumor {

class frmChildMap : public QWidget, public CellPainter
{
    Q_OBJECT
public:
    explicit frmChildMap(Standard &document, QWidget *parent = nullptr);
    void PaintCell(int index, SymbolCode code) override;

private:
    Standard &m_document;
};

} // namespace vellumor
