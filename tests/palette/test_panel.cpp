#include "palette/MapSymbolsPanel.h"
#include "palette/OptionButton.h"
#include "pictures/SymbolPictures.h"
#include "symbols/SymbolCatalog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace vellumor;

// Stops the test at the first broken invariant instead of piling up failures.
#define VERIFY_INVARIANTS()                                                                        \
    do {                                                                                           \
        verifyInvariants();                                                                        \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

namespace {

int setOf(int code)
{
    return static_cast<int>(symbolInfo(code)->set);
}

// What the user sees of the palette and what it has chosen.
struct PaletteState
{
    QVector<int> shownFrames;
    QVector<int> pressedSets;
    QVector<int> pressedSymbols;
    SymbolCode current;

    bool operator==(const PaletteState &) const = default;
};

PaletteState stateOf(MapSymbolsPanel &panel, const Standard &document)
{
    PaletteState state {{}, {}, {}, document.CurrentSymbol};
    for (int set = 0; set < kSymbolSetCount; ++set) {
        if (!panel.frame(set)->isHidden())
            state.shownFrames.append(set);
        if (panel.optSymbolSet(set)->isChecked())
            state.pressedSets.append(set);
    }
    for (int code = 0; code <= kHighestSymbolCode; ++code) {
        if (panel.optSymbol(code)->isChecked())
            state.pressedSymbols.append(code);
    }
    return state;
}

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT

private:
    Standard m_document;
    std::unique_ptr<MapSymbolsPanel> m_panel;

    PaletteState state() { return stateOf(*m_panel, m_document); }
    void chooseSet(int set) { QTest::mouseClick(m_panel->optSymbolSet(set), Qt::LeftButton); }
    void chooseSymbol(int code) { QTest::mouseClick(m_panel->optSymbol(code), Qt::LeftButton); }

    // Must hold whenever no handler is running.
    void verifyInvariants()
    {
        const int set = m_panel->shownSet();
        const PaletteState now = state();
        QCOMPARE(now.shownFrames, QVector<int> {set});
        QCOMPARE(now.pressedSets, QVector<int> {set});
        QVERIFY(now.current == kBlankSymbol || setOf(now.current) == set);
        QCOMPARE(now.pressedSymbols, QVector<int> {now.current});
    }

private slots:
    void init()
    {
        m_document = Standard {};
        m_panel = std::make_unique<MapSymbolsPanel>(m_document);
        m_panel->resize(150, 500);
        m_panel->show();
    }
    void cleanup() { m_panel.reset(); }

    void startsWithTownShownAndBlankChosen()
    {
        QCOMPARE(m_panel->shownSet(), 0);
        QCOMPARE(m_document.CurrentSymbol, kBlankSymbol);
        VERIFY_INVARIANTS();
    }

    void choosingASetStartsItWithBlank()
    {
        chooseSymbol(3);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(3));
        VERIFY_INVARIANTS();

        chooseSet(1);
        QCOMPARE(m_panel->shownSet(), 1);
        QCOMPARE(m_document.CurrentSymbol, kBlankSymbol);
        VERIFY_INVARIANTS();

        // With Blank current, Blank is released and pressed again.
        QSignalSpy blankToggled(m_panel->optSymbol(0), &QAbstractButton::toggled);
        chooseSet(2);
        QCOMPARE(blankToggled.size(), 2);
        QCOMPARE(blankToggled.at(0).at(0).toBool(), false);
        QCOMPARE(blankToggled.at(1).at(0).toBool(), true);
        QCOMPARE(m_document.CurrentSymbol, kBlankSymbol);
        VERIFY_INVARIANTS();

        for (int set : {0, 2, 1}) {
            chooseSet(set);
            QVERIFY(m_panel->frame(set)->isVisible());
            VERIFY_INVARIANTS();
        }
    }

    void choosingSymbolsAndBlankInTurn()
    {
        chooseSet(1);
        chooseSymbol(30);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(30));
        VERIFY_INVARIANTS();
        // Another symbol of the same frame: the frame's group releases the first.
        chooseSymbol(29);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(29));
        VERIFY_INVARIANTS();
        chooseSymbol(0);
        QCOMPARE(m_document.CurrentSymbol, kBlankSymbol);
        VERIFY_INVARIANTS();
        chooseSymbol(44);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(44));
        VERIFY_INVARIANTS();
    }

    void choosingWhatIsAlreadyChosenChangesNothing()
    {
        const PaletteState atStart = state();
        QSignalSpy blankToggled(m_panel->optSymbol(0), &QAbstractButton::toggled);
        chooseSymbol(0);
        QCOMPARE(state(), atStart);
        QCOMPARE(blankToggled.size(), 0);

        chooseSymbol(17);
        const PaletteState withSymbol = state();
        chooseSymbol(17);
        QCOMPARE(state(), withSymbol);
        // A click on the set already shown keeps the chosen symbol.
        chooseSet(0);
        QCOMPARE(state(), withSymbol);
    }

    void onlyAFullLeftClickChooses()
    {
        QTest::mousePress(m_panel->optSymbol(7), Qt::LeftButton);
        QCOMPARE(m_document.CurrentSymbol, kBlankSymbol);
        QTest::mouseRelease(m_panel->optSymbol(7), Qt::LeftButton);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(7));
        QTest::mouseClick(m_panel->optSymbol(8), Qt::RightButton);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(7));
        VERIFY_INVARIANTS();
    }

    void choosingFromCodeKeepsToTheShownPalette()
    {
        m_panel->optSymbol_Click(5);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(5));
        VERIFY_INVARIANTS();

        const PaletteState before = state();
        for (int code : {50, -1, 65, 999})
            m_panel->optSymbol_Click(SymbolCode(code));
        QCOMPARE(state(), before);

        for (int index : {7, -3}) {
            m_panel->optSymbolSet_Click(index);
            QCOMPARE(m_panel->shownSet(), 2);
            VERIFY_INVARIANTS();
        }
    }

    void hidingThePanelChangesNothing()
    {
        chooseSet(1);
        chooseSymbol(42);
        const PaletteState before = state();
        m_panel->setVisible(false);
        QCOMPARE(state(), before);
        m_panel->setVisible(true);
        QCOMPARE(state(), before);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(42));
    }

    void controlsStandAtTheirPlaces()
    {
        QCOMPARE(m_panel->width(), 150);
        auto *strip = m_panel->findChild<QWidget *>(QStringLiteral("fraSymbolSet"));
        QVERIFY(strip);
        QCOMPARE(strip->geometry(), QRect(0, 0, 145, 33));
        QCOMPARE(m_panel->optSymbolSet(2)->geometry(), QRect(96, 0, 49, 29));
        QCOMPARE(m_panel->frame(0)->geometry(), QRect(16, 32, 112, 345));
        QCOMPARE(m_panel->frame(1)->geometry(), QRect(16, 32, 113, 345));
        QCOMPARE(
            qobject_cast<QGroupBox *>(m_panel->frame(1))->title(), QStringLiteral("Terrain 1"));

        QCOMPARE(m_panel->optSymbol(1)->geometry(), QRect(8, 64, 25, 25));
        QCOMPARE(m_panel->optSymbol(24)->geometry(), QRect(80, 208, 25, 25));
        QCOMPARE(m_panel->optSymbol(30)->geometry(), QRect(8, 88, 25, 25));
        QCOMPARE(m_panel->optSymbol(29)->geometry(), QRect(32, 88, 25, 25));

        auto *castle = m_panel->frame(0)->findChild<QLabel *>(QStringLiteral("lblCastleKey"));
        QVERIFY(castle);
        QCOMPARE(castle->geometry(), QRect(8, 168, 97, 17));
        auto *mountain = m_panel->frame(1)->findChild<QLabel *>(QStringLiteral("lblMountainKey"));
        QVERIFY(mountain);
        QCOMPARE(mountain->geometry(), QRect(8, 192, 97, 17));
        QVERIFY(mountain->font().bold());
        QCOMPARE(mountain->font().pointSizeF(), 8.25);
        QCOMPARE(mountain->alignment(), Qt::AlignCenter);

        QAbstractButton *blank = m_panel->optSymbol(0);
        QCOMPARE(blank->geometry(), QRect(24, 48, 97, 25));
        for (int set = 0; set < kSymbolSetCount; ++set) {
            chooseSet(set);
            QCOMPARE(m_panel->childAt(blank->geometry().center()), blank);
        }
    }

    void everyButtonCarriesItsSymbol()
    {
        for (int code = 0; code <= kHighestSymbolCode; ++code) {
            const auto *button = qobject_cast<const OptionButton *>(m_panel->optSymbol(code));
            QVERIFY(button);
            QCOMPARE(button->objectName(), QStringLiteral("optSymbol(%1)").arg(code));
            QCOMPARE(button->toolTip(), symbolName(code));
            if (code == kBlankSymbol) {
                QCOMPARE(button->text(), QStringLiteral("Blank"));
                QCOMPARE(button->toolTip(), QStringLiteral("Empty Square"));
                QCOMPARE(button->accessibleName(), QStringLiteral("Blank"));
                QVERIFY(button->picture().isNull());
                continue;
            }
            QCOMPARE(button->accessibleName(), symbolName(code));
            QCOMPARE(button->picture(), *SymbolPicture(code));
            QCOMPARE(button->parentWidget(), m_panel->frame(setOf(code)));
        }
        for (int set = 0; set < kSymbolSetCount; ++set) {
            QAbstractButton *button = m_panel->optSymbolSet(set);
            QCOMPARE(button->objectName(), QStringLiteral("optSymbolSet(%1)").arg(set));
            QCOMPARE(button->accessibleName(), button->text());
        }
    }

    // A screen reader hears a choice among options: "House, radio button,
    // checked", with the tooltip as the description.
    void screenReadersHearOneChoiceAmongSeveral()
    {
        chooseSet(0);
        chooseSymbol(1);
        const auto hears
            = [](QAbstractButton *button) { return QAccessible::queryAccessibleInterface(button); };
        QAccessibleInterface *chosen = hears(m_panel->optSymbol(1));
        QVERIFY(chosen);
        QCOMPARE(chosen->role(), QAccessible::RadioButton);
        QCOMPARE(chosen->text(QAccessible::Name), symbolName(1));
        QCOMPARE(chosen->text(QAccessible::Description), symbolName(1));
        QVERIFY(chosen->state().checkable && chosen->state().checked);

        QAccessibleInterface *blank = hears(m_panel->optSymbol(kBlankSymbol));
        QCOMPARE(blank->role(), QAccessible::RadioButton);
        QCOMPARE(blank->text(QAccessible::Name), QStringLiteral("Blank"));
        QCOMPARE(blank->text(QAccessible::Description), QStringLiteral("Empty Square"));
        QVERIFY(!blank->state().checked);

        QAccessibleInterface *set = hears(m_panel->optSymbolSet(1));
        QCOMPARE(set->role(), QAccessible::RadioButton);
        QVERIFY(!set->state().checked);
        // Choosing through the screen reader's own action works like a click.
        set->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(set->state().checked);
        QVERIFY(hears(m_panel->optSymbol(kBlankSymbol))->state().checked);
    }

    void pressedButtonLooksPressed()
    {
        QWidget parent;
        OptionButton button(&parent);
        button.setGeometry(0, 0, 25, 25);
        const QImage released = button.grab().toImage();
        button.setChecked(true);
        QVERIFY(button.grab().toImage() != released);
    }

    // A caption closes its letters up by the fewest eighths of a pixel, up to
    // half a pixel each, before it takes the largest half-point size that fits.
    void captionClosesUpThenShrinksToFit()
    {
        QFont base = QApplication::font();
        base.setPointSizeF(8.25);
        const auto fits = [](const QFont &font, const QString &text, int width) {
            return QFontMetrics(font).horizontalAdvance(text) <= width;
        };
        const auto spaced = [&](qreal spacing) {
            QFont font = base;
            font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
            return font;
        };
        // What fitting must give: spacings, then sizes, tried one by one.
        const auto byTrying = [&](const QString &text, int width) {
            for (qreal spacing = 0; spacing >= -0.5; spacing -= 0.125) {
                if (fits(spaced(spacing), text, width))
                    return std::pair {base.pointSizeF(), spacing};
            }
            QFont font = base;
            while (!fits(font, text, width) && font.pointSizeF() - 0.5 >= 6.0)
                font.setPointSizeF(font.pointSizeF() - 0.5);
            return std::pair {font.pointSizeF(), qreal(0)};
        };
        int closedUp = 0;
        for (const QString &text : {QStringLiteral("Terrain1"), QStringLiteral("Town"),
                 QStringLiteral("Blank"), QStringLiteral("A much longer caption")}) {
            for (int width = 1; width <= 120; ++width) {
                const QFont fitted = fitCaptionFont(base, text, width);
                const auto [size, spacing] = byTrying(text, width);
                QVERIFY2(fitted.pointSizeF() == size && fitted.letterSpacing() == spacing,
                    qPrintable(QStringLiteral("%1 in %2 px: %3 points, spacing %4")
                                   .arg(text)
                                   .arg(width)
                                   .arg(fitted.pointSizeF())
                                   .arg(fitted.letterSpacing())));
                QCOMPARE(fitted.family(), base.family());
                closedUp += spacing < 0 ? 1 : 0;
            }
        }
        QVERIFY(closedUp > 0);
    }

    void captionIsFittedAfreshWhenItsTextOrFontChanges()
    {
        const auto face = [](const QString &text, const QFont &font, const QString &before) {
            QWidget parent;
            OptionButton button(&parent);
            button.setGeometry(0, 0, 49, 29);
            button.setFont(font);
            if (!before.isEmpty()) {
                button.setText(before);
                button.grab(); // fits the caption for the earlier text
            }
            button.setText(text);
            return button.grab().toImage();
        };
        QFont font = QApplication::font();
        font.setPointSizeF(8.25);
        const QString wide = QStringLiteral("Terrain 1");
        const QString narrow = QStringLiteral("Ok");
        QCOMPARE(face(narrow, font, wide), face(narrow, font, QString()));
        QCOMPARE(face(wide, font, narrow), face(wide, font, QString()));

        QWidget parent;
        OptionButton button(&parent);
        button.setGeometry(0, 0, 49, 29);
        button.setText(wide);
        button.setFont(font);
        button.grab();
        QFont larger = font;
        larger.setPointSizeF(14);
        button.setFont(larger);
        QCOMPARE(button.grab().toImage(), face(wide, larger, QString()));
    }

    void pictureIsEnlargedWithoutBlending()
    {
        const QRgb dark = qRgb(10, 20, 30);
        const QRgb light = qRgb(240, 230, 220);
        QImage checkerboard(15, 15, QImage::Format_RGB32);
        for (int y = 0; y < 15; ++y) {
            for (int x = 0; x < 15; ++x)
                checkerboard.setPixel(x, y, (x + y) % 2 ? dark : light);
        }
        QWidget parent;
        OptionButton button(&parent);
        button.setGeometry(0, 0, 25, 25);
        button.setPicture(checkerboard);

        const QImage shown = button.grab().toImage();
        const qreal ratio = shown.devicePixelRatio();
        // The middle of the face, clear of the bevel.
        const QRect face(int(6 * ratio), int(6 * ratio), int(13 * ratio), int(13 * ratio));
        for (int y = face.top(); y <= face.bottom(); ++y) {
            for (int x = face.left(); x <= face.right(); ++x) {
                const QRgb pixel = shown.pixel(x, y) | 0xff000000;
                QVERIFY2(pixel == dark || pixel == light, "the picture was smoothed");
            }
        }
    }
};

QTEST_MAIN(TestPanel)

#include "test_panel.moc"
