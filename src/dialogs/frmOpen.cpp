#include "dialogs/frmOpen.h"

#include "dialogs/DirectoryList.h"
#include "dialogs/DriveList.h"
#include "dialogs/MapFileList.h"
#include "dialogs/Prompt.h"
#include "document/MapStorage.h"

#include <QLabel>
#include <QPushButton>

namespace vellumor {

frmOpen::frmOpen(Standard &document, CellPainter &cells, TitleDisplay &title, Prompt &prompt,
    QWidget *parent, const QString &startDirectory)
    : MapFileDialog(prompt, QStringLiteral("frmOpen"), QStringLiteral("Open"),
        QStringLiteral("cmdOpen"), startDirectory, parent)
    , m_document(document)
    , m_cells(cells)
    , m_title(title)
    , m_fileNameData(new QLabel(this))
{
    Form_Load();
}

void frmOpen::Form_Load()
{
    m_fileNameData->setObjectName(QStringLiteral("lblFileNameData"));
    m_fileNameData->setGeometry(nameFieldPlace(17));
    m_fileNameData->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_fileNameData->setBackgroundRole(QPalette::Base);
    m_fileNameData->setAutoFillBackground(true);
    m_fileNameData->setTextFormat(Qt::PlainText);

    setTabOrder(helpButton(), cancelButton());
    setTabOrder(cancelButton(), okButton());
    setTabOrder(okButton(), directoryList());
    setTabOrder(directoryList(), fileList());
    setTabOrder(fileList(), driveList());
    helpButton()->setFocus();

    connect(okButton(), &QPushButton::clicked, this, &frmOpen::cmdOpenOK_Click);
    connect(cancelButton(), &QPushButton::clicked, this, &frmOpen::cmdOpenCancel_Click);
}

void frmOpen::filFileList1_Click(const QString &entry)
{
    m_fileNameData->setText(entry);
}

void frmOpen::directoryMoved()
{
    // A name chosen in the old directory does not name a file in the new one.
    m_fileNameData->clear();
}

void frmOpen::cmdOpenOK_Click()
{
    const QString fileName = m_fileNameData->text();
    if (fileName.isEmpty()) {
        prompt().tell(this, QStringLiteral("Error: No file choosen"),
            QStringLiteral("You have not choosen a map to open."));
        return;
    }
    if (const StorageOutcome failure
        = OpenMap(m_document, m_cells, m_title, directoryPath(), fileName)) {
        prompt().tell(this, failure->title, failure->text);
        return;
    }
    accept();
}

void frmOpen::cmdOpenCancel_Click()
{
    reject();
}

} // namespace vellumor
