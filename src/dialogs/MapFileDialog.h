#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace vellumor {

class DirectoryList;
class DriveList;
class MapFileList;
class PathLabel;
class Prompt;

// What the Open and Save As dialogs share: the fixed layout, the file,
// directory and drive lists kept in step with one another, and the three
// buttons. A dialog adds its name field at nameFieldPlace() and reacts to the
// hooks below.
class MapFileDialog : public QDialog
{
    Q_OBJECT
protected:
    // buttonPrefix names the buttons: prefix + "OK", "Cancel", "Help".
    MapFileDialog(Prompt &prompt, const QString &objectName, const QString &title,
        const QString &buttonPrefix, const QString &startDirectory, QWidget *parent);

    static QRect nameFieldPlace(int height);

    // The directory the dialog opens from or saves into.
    QString directoryPath() const;

    Prompt &prompt() const { return m_prompt; }
    MapFileList *fileList() const { return m_fileList; }
    DirectoryList *directoryList() const { return m_directoryList; }
    DriveList *driveList() const { return m_driveList; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *helpButton() const { return m_help; }

    // An entry of the file list was chosen by mouse or keyboard.
    virtual void filFileList1_Click(const QString &entry) = 0;
    // The user moved the lists to another directory.
    virtual void directoryMoved() { }

    // No button answers Escape; the window's close control still cancels.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showDirectory(const QString &path);

    Prompt &m_prompt;
    MapFileList *m_fileList;
    PathLabel *m_path;
    DirectoryList *m_directoryList;
    DriveList *m_driveList;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_help;
};

} // namespace vellumor
