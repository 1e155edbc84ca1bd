#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

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

} // namespace vellumor::art
