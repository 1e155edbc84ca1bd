#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace vellumor::table {

// A QR code's modules, row by row, true for dark.
struct QrModules
{
    int width = 0;
    std::vector<bool> dark;
    bool at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < width && dark[std::size_t(y * width + x)];
    }
};

// The text as a QR code (libqrencode, lowest error correction: the code is
// read off a screen); nothing when it is too long for one.
std::optional<QrModules> qrModules(const QString &text);

// The code as a black-on-white PNG, `scale` pixels a module, with the quiet
// zone of four modules that readers expect; empty when it cannot be made.
QByteArray qrPng(const QString &text, int scale = 8);

} // namespace vellumor::table
