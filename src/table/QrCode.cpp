#include "table/QrCode.h"

#include "table/SymbolStrip.h"

#include <QImage>

#include <qrencode.h>

namespace vellumor::table {

std::optional<QrModules> qrModules(const QString &text)
{
    QRcode *code = QRcode_encodeString(text.toUtf8().constData(), 0, QR_ECLEVEL_L, QR_MODE_8, 1);
    if (!code)
        return std::nullopt;
    QrModules modules {code->width, std::vector<bool>(std::size_t(code->width * code->width))};
    for (std::size_t i = 0; i < modules.dark.size(); ++i)
        modules.dark[i] = (code->data[i] & 1) != 0;
    QRcode_free(code);
    return modules;
}

QByteArray qrPng(const QString &text, int scale)
{
    const auto modules = qrModules(text);
    if (!modules)
        return {};
    constexpr int quiet = 4;
    const int size = (modules->width + 2 * quiet) * scale;
    QImage image(size, size, QImage::Format_Grayscale8);
    image.fill(255);
    for (int y = 0; y < size; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < size; ++x) {
            if (modules->at(x / scale - quiet, y / scale - quiet))
                line[x] = 0;
        }
    }
    return pngBytes(image);
}

} // namespace vellumor::table
