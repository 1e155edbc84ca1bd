#pragma once

#include "mainwindow/MDIVellumor.h"
#include "mapview/frmChildMap.h"
#include "support/DocumentFakes.h"
#include "support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QTest>

#include <memory>

namespace vellumor::testing {

// A shown main window over a fresh document, with every question scripted.
struct MainWindowFixture
{
    Standard document;
    ScriptedPrompt prompt;
    std::unique_ptr<MDIVellumor> window;

    MainWindowFixture()
        : window(std::make_unique<MDIVellumor>(document, prompt))
    {
        window->show();
    }

    QAction *action(const char *name) const
    {
        return window->findChild<QAction *>(QLatin1String(name));
    }

    template<typename T = QAbstractButton> T *button(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    void clickCell(int index, Qt::MouseButton button = Qt::LeftButton) const
    {
        frmChildMap *map = window->mapView();
        QTest::mouseClick(map, button, {}, frmChildMap::cellRect(index).center());
    }

    void chooseSymbol(int code) const
    {
        window->findChild<QAbstractButton *>(QStringLiteral("optSymbolSet(%1)").arg(setOf(code)))
            ->click();
        window->findChild<QAbstractButton *>(QStringLiteral("optSymbol(%1)").arg(code))->click();
    }

    static int setOf(int code) { return code <= 24 ? 0 : code <= 44 ? 1 : 2; }
};

// Dialog steps: what a person does in a dialog, then OK.
inline void clickListEntry(QDialog &dialog, const QString &name)
{
    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("filFileList1"));
    QVERIFY(list);
    const auto items = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(name));
    list->scrollToItem(items.first());
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
}

inline void clickButton(QDialog &dialog, const char *name)
{
    auto *button = dialog.findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace vellumor::testing
