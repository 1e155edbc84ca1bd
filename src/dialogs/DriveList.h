#pragma once

#include <QComboBox>

namespace vellumor {

// The mounted volumes that can be browsed, each shown by its root path and,
// where it has one, its label.
class DriveList final : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);

    // Selects the volume that holds path, without announcing a choice.
    void showDriveOf(const QString &path);

signals:
    void driveChosen(const QString &rootPath); // the user picked a volume

private:
    int addDrive(const QString &rootPath, const QString &label);
};

} // namespace vellumor
