#pragma once

#include <QDialog>

namespace vellumor {

// Names the program and its version and credits its makers. Built fresh for
// each showing; OK, Enter and Esc close it.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Caption text as stored, with "&&" standing for one "&".
    static const QString kDescription;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace vellumor
