#pragma once

#include <QLabel>

namespace vellumor {

// Shows a path in one line, shortened in the middle when it does not fit; the
// whole path stays its text and its tooltip.
class PathLabel final : public QLabel
{
    Q_OBJECT
public:
    explicit PathLabel(QWidget *parent = nullptr);
    void setPath(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace vellumor
