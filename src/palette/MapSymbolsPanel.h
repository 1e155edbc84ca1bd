#pragma once

#include "document/Standard.h"

#include <QWidget>

#include <array>

class QAbstractButton;
class QButtonGroup;

namespace vellumor {

class OptionButton;

// The strip at the left of the main window from which the user chooses the
// symbol that a left click on the map paints. It shows one symbol set at a
// time, plus the Blank button, which belongs to every set. Its one output is
// the document's CurrentSymbol, which nothing else writes.
//
// Whenever no handler is running: exactly one set frame is shown, CurrentSymbol
// is 0 or a code of the shown set, and the one pressed symbol button is the
// button of CurrentSymbol.
class MapSymbolsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit MapSymbolsPanel(Standard &document, QWidget *parent = nullptr);

    // Makes `index` the current symbol, as a click on its button does. A code
    // that is not on the shown palette (another set's, or none at all) is
    // ignored, since no button the user could press carries it.
    void optSymbol_Click(SymbolCode index);
    // Shows set 0, 1 or 2 (any other value shows set 2) and makes Blank current.
    void optSymbolSet_Click(int index);

    QAbstractButton *optSymbol(int code) const;
    QAbstractButton *optSymbolSet(int set) const;
    QWidget *frame(int set) const;
    int shownSet() const { return m_shownSet; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildSetStrip();
    void buildSetFrame(int set);
    void buildBlankButton();
    void releaseSymbolButton(int code);
    bool isOnShownPalette(int code) const;

    Standard &m_document;
    std::array<OptionButton *, kHighestSymbolCode + 1> m_symbolButtons {};
    std::array<OptionButton *, 3> m_setButtons {};
    std::array<QWidget *, 3> m_frames {};
    QButtonGroup *m_setGroup = nullptr;
    int m_shownSet = -1;
};

} // namespace vellumor
