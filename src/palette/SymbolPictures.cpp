#include "SymbolPictures.h"

#include "Standard.h"

#include <QColor>

namespace vellumor {

// Placeholder pictures until the artwork is in: one distinct colour per code.
SymbolPictures::SymbolPictures()
{
    for (int code = 1; code <= kHighestSymbolCode; ++code) {
        QImage image(15, 15, QImage::Format_RGB888);
        image.fill(QColor::fromHsv((code * 37) % 360, 200, 200));
        m_pictures[std::size_t(code)] = image;
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
