#pragma once

#include "dialogs/MapFileDialog.h"

#include <QDir>

class QLabel;

namespace vellumor {

class CellPainter;
class TitleDisplay;
struct Standard;

// Chooses a map file from the file list and opens it into the document.
class frmOpen final : public MapFileDialog
{
    Q_OBJECT
public:
    frmOpen(Standard &document, CellPainter &cells, TitleDisplay &title, Prompt &prompt,
        QWidget *parent = nullptr, const QString &startDirectory = QDir::currentPath());

private:
    void Form_Load();
    void filFileList1_Click(const QString &entry) override;
    void directoryMoved() override;
    void cmdOpenOK_Click();
    void cmdOpenCancel_Click();

    Standard &m_document;
    CellPainter &m_cells;
    TitleDisplay &m_title;
    QLabel *m_fileNameData;
};

} // namespace vellumor
