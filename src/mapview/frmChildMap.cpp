#include "frmChildMap.h"

namespace vellumor {

frmChildMap::frmChildMap(Standard &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("frmChildMap"));
    setWindowTitle(QStringLiteral("Map"));
}

void frmChildMap::PaintCell(int index, SymbolCode code)
{
    m_document.MapCells[std::size_t(index)] = code;
    update();
}

} // namespace vellumor
