#include "mainwindow/frmAbout.h"

#include "pictures/Artwork.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace vellumor {

const QString frmAbout::kDescription = QStringLiteral(
    "Vellumor was created as a tool to assist with the creations  of maps for role-playing games, "
    "specifically Advanced Dungeons && Dragons, but it may be used in any manner you see fit.");

namespace {

constexpr QSize kClientSize {382, 237};
constexpr QPoint kScreenPosition {156, 129};
constexpr int kSeparatorY = 160;

// Labels show "&&" as one "&", as captions elsewhere in the program do.
QString shownText(const QString &caption)
{
    QString text = caption;
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QLabel *addLabel(
    QWidget *parent, const char *objectName, const QString &caption, const QRect &place)
{
    auto *label = new QLabel(shownText(caption), parent);
    label->setObjectName(QLatin1String(objectName));
    label->setTextFormat(Qt::PlainText); // keeps doubled blanks as they are
    label->setGeometry(place);
    return label;
}

// The box keeps its fixed layout whatever the desktop's font: a wrapped text
// that would not fit its label is set a little smaller until it does.
void shrinkToFit(QLabel *label)
{
    QFont font = label->font();
    const auto fits = [&] {
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(QPoint(0, 0), label->size()), Qt::TextWordWrap, label->text());
        return needed.height() <= label->height();
    };
    while (!fits() && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vellumor v1.1"));
    setFixedSize(kClientSize);
    setModal(true);
    move(kScreenPosition);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setGeometry(8, 8, 79, 79);
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(aboutEmblem());
    icon->setAccessibleName(QStringLiteral("Vellumor emblem"));

    QLabel *title = addLabel(this, "lblTitle", QStringLiteral("Vellumor"), {96, 8, 259, 32});
    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setPointSize(18);
    titleFont.setWeight(QFont::Normal);
    title->setFont(titleFont);

    addLabel(this, "lblVersion", QStringLiteral("Version 1.1 Demo"), {96, 40, 259, 15});
    QLabel *description = addLabel(this, "lblDescription", kDescription, {96, 64, 259, 62});
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shrinkToFit(description);
    addLabel(this, "lblAuthorCredit", QStringLiteral("Programmed by: The Vellumor team"),
        {96, 136, 273, 17});

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgCompanyLogo"));
    logo->setGeometry(8, 168, 136, 64);
    logo->setScaledContents(true);
    logo->setPixmap(companyLogo());
    logo->setAccessibleName(QStringLiteral("Vellumor project logo"));

    QLabel *company = addLabel(this, "lblCompanyCredit",
        QStringLiteral("Made by the Vellumor project, for game masters and "
                       "their players."),
        {152, 168, 113, 65});
    company->setWordWrap(true);
    company->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shrinkToFit(company);

    for (QLabel *label : findChildren<QLabel *>())
        label->setPalette(QPalette(Qt::black, palette().window().color()));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(280, 176, 84, 47);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    ok->setFocus(Qt::OtherFocusReason);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // An etched separator: a grey line with a white one beneath it.
    QPainter painter(this);
    painter.setPen(QPen(QColor(128, 128, 128), 1));
    painter.drawLine(6, kSeparatorY, 376, kSeparatorY);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(8, kSeparatorY + 1, 377, kSeparatorY + 1);
    painter.drawLine(8, kSeparatorY + 2, 377, kSeparatorY + 2);
}

} // namespace vellumor
