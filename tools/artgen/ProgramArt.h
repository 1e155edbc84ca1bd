#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <array>

namespace vellumor::art {

// One picture of the program's own (icon, About box) as a PNG file,
// with its path below resources/.
struct ProgramFile
{
    QString path;
    QByteArray png;
};

// Draws the program icon at every size, the About box's emblem and the company
// logo.
QList<ProgramFile> programPictures();

// Draws the icon of map files at every size: a page with a corner turned down
// and a small map on it, made of the given symbol pictures (by code).
QList<ProgramFile> mapFileIcons(const std::array<QImage, 65> &symbols);

} // namespace vellumor::art
