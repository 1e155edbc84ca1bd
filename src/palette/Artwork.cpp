#include "Artwork.h"

namespace vellumor {

namespace {

QString resource(const char *path)
{
    return QStringLiteral(":/") + QLatin1String(path);
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vellumor-%1.png").arg(size), QSize(size, size));
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
    icon.addFile(QStringLiteral(":/toolbar/%1.png").arg(QLatin1String(name)), QSize(16, 16));
    icon.addFile(QStringLiteral(":/toolbar/%1@2x.png").arg(QLatin1String(name)), QSize(32, 32));
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
