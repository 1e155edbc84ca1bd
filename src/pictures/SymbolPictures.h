#pragma once

#include <QImage>

#include <array>
#include <optional>

namespace vellumor {

// The 64 symbol pictures, read from the program's resources once and shared
// read-only by the palette and the map view.
class SymbolPictures
{
public:
    static const SymbolPictures &shared();

    // A null image for the Blank symbol (code 0); nothing for a code that names
    // no symbol, so that the caller decides what follows.
    std::optional<QImage> picture(int code) const;

private:
    SymbolPictures();
    std::array<QImage, 65> m_pictures;
};

inline std::optional<QImage> SymbolPicture(int code)
{
    return SymbolPictures::shared().picture(code);
}

} // namespace vellumor
