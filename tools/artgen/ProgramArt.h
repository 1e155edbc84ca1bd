#pragma once

#include "ArtSource.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace vellumor::art {

// One picture of the program's own (icon, toolbar, About box) as a PNG file,
// with its path below resources/.
struct ProgramFile
{
    QString path;
    QByteArray png;
};

struct ProgramPictures
{
    std::optional<QList<ProgramFile>> files;
    QString error;
};

// The pixel-drawn source of the toolbar pictures, in resources/art.
QString toolbarSourceFile();

// Draws the program icon at every size, the toolbar pictures at 1x and 2x, the
// About box's emblem and the company logo.
ProgramPictures programPictures(const Artwork &toolbarArt);

} // namespace vellumor::art
