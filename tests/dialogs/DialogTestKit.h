#pragma once

#include "document/MapCodec.h"
#include "document/Standard.h"
#include "support/TestFiles.h"

#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

namespace vellumor::testing {

inline QByteArray mapOf(SymbolCode code)
{
    MapCodes codes;
    codes.fill(code);
    return mapfile::encode(codes);
}

inline bool allCellsAre(const Standard &document, SymbolCode code)
{
    return std::all_of(document.MapCells.begin(), document.MapCells.end(),
        [code](SymbolCode c) { return c == code; });
}

template<typename Widget> Widget *part(QWidget &dialog, const char *name)
{
    return dialog.findChild<Widget *>(QLatin1String(name));
}

// Shows the dialog as the active window, so that clicks move the focus as
// they do for a person.
inline bool showActive(QDialog &dialog)
{
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

inline QStringList listed(QListWidget *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->item(row)->text());
    return names;
}

inline void clickEntry(QListWidget *list, const QString &name)
{
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(name));
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

// Moves the directory list by keyboard: the entry becomes current, then Enter.
inline void enterDirectory(QTreeWidget *tree, const QString &name)
{
    const QList<QTreeWidgetItem *> found
        = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(found.size() == 1, qPrintable(name));
    tree->setCurrentItem(found.first());
    QTest::keyClick(tree, Qt::Key_Return);
}

// The object names of the controls that Tab visits, starting at first.
inline QStringList tabChain(QWidget *first)
{
    QStringList names;
    QWidget *widget = first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(first->window()))
            names.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return names;
}

} // namespace vellumor::testing
