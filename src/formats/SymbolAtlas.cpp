#include "formats/SymbolAtlas.h"

#include "formats/TiledMap.h"
#include "pictures/SymbolPictures.h"

#include <QPainter>

namespace vellumor::mapexport {

QImage symbolAtlas()
{
    using namespace tiledmap;
    QImage atlas(kAtlasSize, kAtlasSize, QImage::Format_RGB32);
    atlas.fill(Qt::white);
    QPainter painter(&atlas);
    for (int code = 1; code <= kHighestSymbolCode; ++code) {
        const int tile = code - 1;
        if (const auto picture = SymbolPicture(code); picture && !picture->isNull()) {
            painter.drawImage(
                QPoint(tile % kAtlasColumns * kTileSize, tile / kAtlasColumns * kTileSize),
                *picture);
        }
    }
    return atlas;
}

} // namespace vellumor::mapexport
