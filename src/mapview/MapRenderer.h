#pragma once

#include "document/Standard.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>

class QPainter;

namespace vellumor {

// Draws the map as the map view shows it, onto any QPainter: the view itself,
// or a QImage with no display at all. Cell edges are placed on whole device
// pixels and the pictures are enlarged without smoothing, so that the map stays
// sharp at fractional device pixel ratios too.
class MapRenderer
{
public:
    static const QColor &borderColour();

    // Paints the cells of codes that meet dirtyLogicalRect on a white ground, and
    // nothing outside that rectangle. devicePixelRatio is that of the painter's
    // device.
    void render(QPainter &painter, const MapCodes &codes, bool gridLines,
        const QRect &dirtyLogicalRect, qreal devicePixelRatio);

    // The whole view as an image of its size in device pixels, tagged with
    // devicePixelRatio.
    QImage renderImage(const MapCodes &codes, bool gridLines, qreal devicePixelRatio);

private:
    // The picture of code enlarged to size; null for the Blank symbol and for a
    // code that names no symbol.
    const QImage &scaledPicture(int code, QSize size);

    struct CacheKey
    {
        int code;
        int width;
        int height;
        friend bool operator==(const CacheKey &, const CacheKey &) = default;
        friend size_t qHash(const CacheKey &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.code, key.width, key.height);
        }
    };
    QHash<CacheKey, QImage> m_pictures;
};

} // namespace vellumor
