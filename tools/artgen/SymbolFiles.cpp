#include "artgen/SymbolFiles.h"

#include "pictures/Artwork.h"
#include "pictures/BmpImage.h"

#include <QDir>
#include <QFile>

namespace vellumor::art {

StoredSymbols readStoredSymbols(const QString &resourcesDir)
{
    std::array<QImage, 65> pictures;
    for (int code = 1; code <= 64; ++code) {
        QFile file(QDir(resourcesDir).filePath(symbolPicturePath(code)));
        if (!file.open(QIODevice::ReadOnly))
            return {std::nullopt, file.fileName() + QStringLiteral(": ") + file.errorString()};
        const auto image = bmp::decode(file.readAll());
        if (!image)
            return {std::nullopt, file.fileName() + QStringLiteral(": not a 24-bit bitmap")};
        pictures[std::size_t(code)] = *image;
    }
    return {pictures, {}};
}

} // namespace vellumor::art
