#pragma once

#include "artgen/ArtSource.h"

#include <QImage>
#include <QList>
#include <QString>

#include <optional>

namespace vellumor::art {

// One toolbar picture as it is stored: 24-bit, opaque on light grey, in the
// bitmap layout of the symbol pictures, so that the program reads it with its
// own reader. Its path is below resources/ ("toolbar/new@2x.bmp").
struct ToolbarFile
{
    QString path;
    QImage image;
};

struct ToolbarArt
{
    std::optional<QList<ToolbarFile>> files;
    QString error;
};

// The pixel-drawn source of the toolbar pictures, in resources/art.
QString toolbarSourceFile();

// The New, Open and Save pictures at 16 x 16 from their source, each with its
// 32 x 32 version drawn for screens of twice the density, all kept to the
// colours of the source's legend.
ToolbarArt toolbarPictures(const Artwork &toolbarArt);

} // namespace vellumor::art
