#include "palette/MapSymbolsPanel.h"

#include "palette/OptionButton.h"
#include "pictures/SymbolPictures.h"
#include "symbols/SymbolCatalog.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>

namespace vellumor {

namespace {

// Layout in logical pixels, from the top-left corner of the panel or, for the
// contents of a set frame, of the frame.
constexpr int kPanelWidth = 150;
constexpr QRect kSetStripRect {0, 0, 145, 33};
constexpr int kSetButtonPitch = 48;
constexpr QSize kSetButtonSize {49, 29};
constexpr QPoint kSetFrameOrigin {16, 32};
constexpr int kSetFrameHeight = 345;
constexpr std::array<int, 3> kSetFrameWidths {112, 113, 113};
constexpr QRect kBlankButtonRect {24, 48, 97, 25};

// Symbol buttons overlap their neighbours by one pixel: the pitch is one less
// than the size.
constexpr int kGridLeft = 8;
constexpr int kGridTop = 64;
constexpr int kSymbolPitch = 24;
constexpr int kSymbolSize = 25;
constexpr int kKeyLabelWidth = 97; // the full width of the four columns
constexpr int kKeyLabelHeight = 17;
constexpr int kKeyLabelRise = 16; // how far above its row a key label starts

constexpr qreal kPaletteFontPointSize = 8.25;

QRect symbolButtonRect(int column, int row)
{
    return {
        kGridLeft + kSymbolPitch * column, kGridTop + kSymbolPitch * row, kSymbolSize, kSymbolSize};
}

QRect keyLabelRect(int row)
{
    return {
        kGridLeft, kGridTop + kSymbolPitch * row - kKeyLabelRise, kKeyLabelWidth, kKeyLabelHeight};
}

// The palette was laid out for "MS Sans Serif" at 8.25 points; where that face
// is missing, the system's own sans-serif face at the same size keeps it close.
// The face is looked up in the list of installed families, which the first text
// drawn reads anyway: asking for it by name would have fontconfig search its
// substitution rules, a noticeable part of start-up for a face that is missing.
QFont paletteFont()
{
    const QString preferred = QStringLiteral("MS Sans Serif");
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (QFontDatabase::families().contains(preferred, Qt::CaseInsensitive)) {
        font = QFont(preferred);
        font.setStyleHint(QFont::SansSerif);
    }
    // The system face needs no hint, and with one Qt would look up a second
    // list of fallback faces for it.
    font.setPointSizeF(kPaletteFontPointSize);
    return font;
}

int setIndex(SymbolSet set)
{
    return static_cast<int>(set);
}

} // namespace

MapSymbolsPanel::MapSymbolsPanel(Standard &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("picMapSymbols"));
    setAccessibleName(tr("Map Symbols"));
    setFixedWidth(kPanelWidth);
    setMinimumHeight(kSetFrameOrigin.y() + kSetFrameHeight);
    setAutoFillBackground(true);
    setFont(paletteFont());

    buildSetStrip();
    buildBlankButton();
    for (int set = 0; set < kSymbolSetCount; ++set)
        buildSetFrame(set);

    optSymbolSet_Click(setIndex(SymbolSet::Town));
}

void MapSymbolsPanel::buildSetStrip()
{
    auto *strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("fraSymbolSet"));
    strip->setGeometry(kSetStripRect);

    m_setGroup = new QButtonGroup(this);
    for (const SymbolSetInfo &info : symbolSets()) {
        const int set = setIndex(info.set);
        auto *button = new OptionButton(strip);
        const QString caption = QString::fromLatin1(info.buttonCaption);
        button->setObjectName(QStringLiteral("optSymbolSet(%1)").arg(set));
        button->setText(caption);
        button->setAccessibleName(caption);
        button->setGeometry(QRect(QPoint(kSetButtonPitch * set, 0), kSetButtonSize));
        m_setGroup->addButton(button, set);
        m_setButtons[std::size_t(set)] = button;
    }
    // A click on the set already shown leaves the chosen symbol alone rather
    // than starting the set over.
    connect(m_setGroup, &QButtonGroup::idClicked, this, [this](int set) {
        if (set != m_shownSet)
            optSymbolSet_Click(set);
    });
}

void MapSymbolsPanel::buildSetFrame(int set)
{
    const SymbolSetInfo &info = symbolSets()[std::size_t(set)];

    auto *frame = new QGroupBox(QString::fromLatin1(info.frameCaption), this);
    // Choosing a set shows its frame; the Blank button stays in front of all three.
    frame->hide();
    frame->stackUnder(m_symbolButtons[kBlankSymbol]);
    frame->setObjectName(QString::fromLatin1(info.frameObjectName));
    frame->setGeometry(
        QRect(kSetFrameOrigin, QSize(kSetFrameWidths[std::size_t(set)], kSetFrameHeight)));
    m_frames[std::size_t(set)] = frame;

    QFont keyFont = font();
    keyFont.setBold(true);
    for (const KeyLabelInfo &key : keyLabels()) {
        if (key.set != info.set)
            continue;
        auto *label = new QLabel(QString::fromLatin1(key.caption), frame);
        label->setObjectName(QString::fromLatin1(key.objectName));
        label->setFont(keyFont);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(keyLabelRect(key.row));
    }

    auto *group = new QButtonGroup(frame);
    for (SymbolCode code = info.firstCode; code <= info.lastCode; ++code) {
        const SymbolInfo symbol = *symbolInfo(code);
        const QString name = QString::fromLatin1(symbol.name);
        auto *button = new OptionButton(frame);
        button->setObjectName(QStringLiteral("optSymbol(%1)").arg(code));
        button->setToolTip(name);
        button->setAccessibleName(name);
        button->setPicture(SymbolPicture(code).value_or(QImage()));
        button->setGeometry(symbolButtonRect(symbol.column, symbol.row));
        group->addButton(button, code);
        m_symbolButtons[std::size_t(code)] = button;
    }
    connect(group, &QButtonGroup::idClicked, this,
        [this](int code) { optSymbol_Click(SymbolCode(code)); });
}

void MapSymbolsPanel::buildBlankButton()
{
    // A child of the panel, not of a frame, and in front of the frames (each is
    // put under it): it stays in view whichever set is shown.
    auto *blank = new OptionButton(this);
    blank->setObjectName(QStringLiteral("optSymbol(%1)").arg(kBlankSymbol));
    blank->setText(tr("Blank"));
    blank->setToolTip(symbolName(kBlankSymbol));
    blank->setAccessibleName(blank->text());
    blank->setGeometry(kBlankButtonRect);
    connect(blank, &QAbstractButton::clicked, this, [this] { optSymbol_Click(kBlankSymbol); });
    m_symbolButtons[kBlankSymbol] = blank;
}

void MapSymbolsPanel::optSymbol_Click(SymbolCode index)
{
    if (!isOnShownPalette(index))
        return;
    // After a click the button is down already; from code, this presses it.
    m_symbolButtons[std::size_t(index)]->setChecked(true);

    const SymbolCode previous = m_document.CurrentSymbol;
    m_document.CurrentSymbol = index;
    if (index != kBlankSymbol)
        m_symbolButtons[kBlankSymbol]->setChecked(false);
    else if (previous != kBlankSymbol)
        releaseSymbolButton(previous);
}

void MapSymbolsPanel::optSymbolSet_Click(int index)
{
    const int set = (index == 0 || index == 1) ? index : 2;

    releaseSymbolButton(m_document.CurrentSymbol);
    for (int each = 0; each < kSymbolSetCount; ++each)
        m_frames[std::size_t(each)]->setVisible(each == set);
    m_shownSet = set;
    m_setButtons[std::size_t(set)]->setChecked(true);

    optSymbol_Click(kBlankSymbol);
}

void MapSymbolsPanel::releaseSymbolButton(int code)
{
    if (!isSymbolCode(code))
        return;
    OptionButton *button = m_symbolButtons[std::size_t(code)];
    // An exclusive group refuses to release its pressed button, so the group
    // lets go for the moment it takes.
    QButtonGroup *group = button->group();
    if (group)
        group->setExclusive(false);
    button->setChecked(false);
    if (group)
        group->setExclusive(true);
}

bool MapSymbolsPanel::isOnShownPalette(int code) const
{
    if (code == kBlankSymbol)
        return true;
    const auto symbol = symbolInfo(code);
    return symbol && setIndex(symbol->set) == m_shownSet;
}

QAbstractButton *MapSymbolsPanel::optSymbol(int code) const
{
    return isSymbolCode(code) ? m_symbolButtons[std::size_t(code)] : nullptr;
}

QAbstractButton *MapSymbolsPanel::optSymbolSet(int set) const
{
    return set >= 0 && set < kSymbolSetCount ? m_setButtons[std::size_t(set)] : nullptr;
}

QWidget *MapSymbolsPanel::frame(int set) const
{
    return set >= 0 && set < kSymbolSetCount ? m_frames[std::size_t(set)] : nullptr;
}

QSize MapSymbolsPanel::sizeHint() const
{
    return {kPanelWidth, kSetFrameOrigin.y() + kSetFrameHeight};
}

void MapSymbolsPanel::paintEvent(QPaintEvent *)
{
    // A hairline along the right edge parts the palette from the map area.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(width() - 1, 0, width() - 1, height());
}

} // namespace vellumor
