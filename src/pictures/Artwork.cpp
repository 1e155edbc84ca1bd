#include "pictures/Artwork.h"

#include "pictures/BmpImage.h"

#include <QResource>

#include <algorithm>

namespace vellumor {

namespace {

QString resource(const char *path)
{
    return QStringLiteral(":/") + QLatin1String(path);
}

// The toolbar pictures are drawn on the light grey face that their buttons
// were meant to have; that grey is their transparent colour, so that they sit
// cleanly on whatever face the style draws.
constexpr QRgb kToolbarKeyColour = qRgb(192, 192, 192);

// Toolbar pictures are read with the program's own bitmap reader: the first
// read through Qt's image readers makes Qt look through all its image format
// plugins, which would hold up the first sight of the main window.
void addBitmap(QIcon &icon, const QString &path, qreal devicePixelRatio)
{
    const QResource resource(path);
    std::optional<QImage> image;
    if (resource.isValid())
        image = bmp::decode(resource.uncompressedData());
    // Compiled in and checked by the tests; a missing one is a broken build.
    if (!image) {
        qCritical("Toolbar picture %s is missing from the program's resources", qPrintable(path));
        return;
    }
    QImage picture = image->convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        std::replace(line, line + picture.width(), kToolbarKeyColour, QRgb(0));
    }
    picture.setDevicePixelRatio(devicePixelRatio);
    icon.addPixmap(QPixmap::fromImage(picture));
}

} // namespace

QString programIconFile(int size)
{
    return QStringLiteral(":/icons/vellumor-%1.png").arg(size);
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(programIconFile(size), QSize(size, size));
    return icon;
}

QIcon toolbarIcon(ToolbarPicture picture)
{
    const char *name = "new";
    switch (picture) {
    case ToolbarPicture::New:
        name = "new";
        break;
    case ToolbarPicture::Open:
        name = "open";
        break;
    case ToolbarPicture::Save:
        name = "save";
        break;
    }
    QIcon icon;
    addBitmap(icon, QStringLiteral(":/toolbar/%1.bmp").arg(QLatin1String(name)), 1);
    addBitmap(icon, QStringLiteral(":/toolbar/%1@2x.bmp").arg(QLatin1String(name)), 2);
    return icon;
}

QPixmap aboutEmblem()
{
    return QPixmap(resource("about/emblem.png"));
}

QPixmap companyLogo()
{
    return QPixmap(resource("about/company-logo.png"));
}

QString symbolPicturePath(int code)
{
    return QStringLiteral("symbols/symbol%1.bmp").arg(code, 2, 10, QLatin1Char('0'));
}

} // namespace vellumor
