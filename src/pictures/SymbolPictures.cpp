#include "pictures/SymbolPictures.h"

#include "document/Standard.h"
#include "pictures/Artwork.h"
#include "pictures/BmpImage.h"

#include <QResource>
#include <QtGlobal>

namespace vellumor {

SymbolPictures::SymbolPictures()
{
    for (int code = 1; code <= kHighestSymbolCode; ++code) {
        // Read straight from the compiled-in data, without the file machinery.
        const QResource resource(QStringLiteral(":/") + symbolPicturePath(code));
        std::optional<QImage> image;
        if (resource.isValid())
            image = bmp::decode(resource.uncompressedData());
        // The pictures are compiled in and checked by the tests; a missing one
        // is a broken build, never something a user's action can cause.
        if (!image) {
            qCritical("Symbol picture %d is missing from the program's resources", code);
            continue;
        }
        m_pictures[std::size_t(code)] = *image;
    }
}

const SymbolPictures &SymbolPictures::shared()
{
    static const SymbolPictures pictures;
    return pictures;
}

std::optional<QImage> SymbolPictures::picture(int code) const
{
    if (!isSymbolCode(code))
        return std::nullopt;
    return m_pictures[std::size_t(code)];
}

} // namespace vellumor
