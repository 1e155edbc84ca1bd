#pragma once

#include <QTreeWidget>

namespace vellumor {

// The directory tree around one current directory: the directories above it,
// the current one marked, and its subdirectories below. Double-click or Enter
// on an entry moves there; Backspace moves up.
class DirectoryList final : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DirectoryList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Shows the tree around path without announcing a move.
    void setPath(const QString &path);

signals:
    void pathChanged(const QString &path); // the user moved the list

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // The tree is always fully open, so it draws no open and close markers.
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override { }

private:
    void moveTo(const QString &path);
    void enter(QTreeWidgetItem *item);
    void fill();

    QString m_path;
};

} // namespace vellumor
