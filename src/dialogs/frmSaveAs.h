#pragma once

#include "dialogs/MapFileDialog.h"

#include <QDir>

class QLineEdit;

namespace vellumor {

class TitleDisplay;
struct Standard;

// Chooses a name and a directory and saves the document's map there.
class frmSaveAs final : public MapFileDialog
{
    Q_OBJECT
public:
    frmSaveAs(Standard &document, TitleDisplay &title, Prompt &prompt, QWidget *parent = nullptr,
        const QString &startDirectory = QDir::currentPath());

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void filFileList1_Click(const QString &entry) override;
    void txtFileName_LostFocus();
    void cmdSaveAsOK_Click();
    void cmdSaveAsCancel_Click();

    Standard &m_document;
    TitleDisplay &m_title;
    QLineEdit *m_fileName;
};

} // namespace vellumor
