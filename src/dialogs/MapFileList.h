#pragma once

#include <QListWidget>

namespace vellumor {

// The map files of one directory: every file (or link to a file) whose name
// matches "*.map*", hidden ones included, sorted by name.
class MapFileList final : public QListWidget
{
    Q_OBJECT
public:
    explicit MapFileList(QWidget *parent = nullptr);

    void setDirectory(const QString &path);

signals:
    // The user selected an entry, or clicked the one already selected.
    void entryChosen(const QString &name);
};

} // namespace vellumor
