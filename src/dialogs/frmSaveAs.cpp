#include "dialogs/frmSaveAs.h"

#include "dialogs/DirectoryList.h"
#include "dialogs/DriveList.h"
#include "dialogs/MapFileList.h"
#include "dialogs/MapNameRule.h"
#include "dialogs/Prompt.h"
#include "document/MapStorage.h"

#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace vellumor {

namespace {

bool isUnfitForFileName(QChar c)
{
    return c == QLatin1Char('/') || c.category() == QChar::Other_Control;
}

} // namespace

frmSaveAs::frmSaveAs(Standard &document, TitleDisplay &title, Prompt &prompt, QWidget *parent,
    const QString &startDirectory)
    : MapFileDialog(prompt, QStringLiteral("frmSaveAs"), QStringLiteral("Save As..."),
        QStringLiteral("cmdSaveAs"), startDirectory, parent)
    , m_document(document)
    , m_title(title)
    , m_fileName(new QLineEdit(this))
{
    Form_Load();
}

void frmSaveAs::Form_Load()
{
    m_fileName->setObjectName(QStringLiteral("txtFileName"));
    m_fileName->setGeometry(nameFieldPlace(19));
    m_fileName->setAccessibleName(QStringLiteral("File Name:"));
    m_fileName->setText(QStringLiteral("Map1.map"));
    m_fileName->installEventFilter(this);

    setTabOrder(driveList(), fileList());
    setTabOrder(fileList(), directoryList());
    setTabOrder(directoryList(), m_fileName);
    setTabOrder(m_fileName, okButton());
    setTabOrder(okButton(), cancelButton());
    setTabOrder(cancelButton(), helpButton());
    driveList()->setFocus();

    connect(okButton(), &QPushButton::clicked, this, &frmSaveAs::cmdSaveAsOK_Click);
    connect(cancelButton(), &QPushButton::clicked, this, &frmSaveAs::cmdSaveAsCancel_Click);
}

bool frmSaveAs::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_fileName && event->type() == QEvent::FocusOut) {
        // Only a move to another control of this dialog counts; a message box
        // or the text box's own menu taking the focus for a while does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtFileName_LostFocus();
    }
    return MapFileDialog::eventFilter(watched, event);
}

void frmSaveAs::filFileList1_Click(const QString &entry)
{
    m_fileName->setText(entry);
}

void frmSaveAs::txtFileName_LostFocus()
{
    m_fileName->setText(withMapSuffix(m_fileName->text()));
}

void frmSaveAs::cmdSaveAsOK_Click()
{
    // The name as it stands: a click on OK has already given it the suffix as
    // the focus left the text box; Enter in the text box saves it unchanged,
    // and so does a name taken from the file list.
    const QString fileName = m_fileName->text();
    if (fileName.isEmpty()) {
        prompt().tell(this, QStringLiteral("Error: No file name choosen"),
            QStringLiteral("You have not choosen a name for your map."));
        m_fileName->setFocus();
        return;
    }
    if (std::any_of(fileName.begin(), fileName.end(), isUnfitForFileName)) {
        prompt().tell(this, QStringLiteral("Error: Bad file name"),
            QStringLiteral("A map name cannot hold a \"/\" or a control character, "
                           "please choose another name."));
        m_fileName->setFocus();
        return;
    }
    const QFileInfo target(directoryPath() + QLatin1Char('/') + fileName);
    if (target.isDir()) {
        prompt().tell(this, QStringLiteral("Error: Name in use by a folder"),
            QStringLiteral("A folder of that name already exists, please choose "
                           "another name for your map."));
        m_fileName->setFocus();
        return;
    }

    if (target.exists() || target.isSymLink()) {
        const Prompt::Answer answer
            = prompt().ask(this, QStringLiteral("Replace file: ") + fileName + QStringLiteral(" ?"),
                QStringLiteral("A file of that name already exists, do you wish to replace it?"),
                Prompt::Buttons::YesNoCancel, Prompt::Icon::Question);
        if (answer != Prompt::Answer::Yes)
            return;
    }

    if (const StorageOutcome failure = SaveMapAs(m_document, m_title, directoryPath(), fileName)) {
        prompt().tell(this, failure->title, failure->text);
        return;
    }
    accept();
}

void frmSaveAs::cmdSaveAsCancel_Click()
{
    reject();
}

} // namespace vellumor
