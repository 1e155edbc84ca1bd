#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vellumor {

// The program's own pictures, compiled in from resources/.

// The quill across a squared sheet, at every size it is drawn in.
QIcon programIcon();
// The resource holding the program's icon as a PNG of size x size pixels
// (16, 32, 48, 64, 128 or 256), for what cannot take a QIcon.
QString programIconFile(int size);

enum class ToolbarPicture { New, Open, Save };
// A toolbar button's picture at 16 x 16 pixels, with its 32 x 32 version for
// screens of twice the density.
QIcon toolbarIcon(ToolbarPicture picture);

// The About box's 75 x 75 emblem and the 280 x 120 logo of Vellumor's makers.
QPixmap aboutEmblem();
QPixmap companyLogo();

// Where the picture of symbol code c is stored, below resources/ and below the
// resource root alike: "symbols/symbolNN.bmp".
QString symbolPicturePath(int code);

} // namespace vellumor
