#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace vellumor::formats {

// Inflates zlib or gzip data into at most limit bytes. Gives nothing when the
// data is damaged or would grow beyond limit: inflating stops there, so a small
// file that unpacks to gigabytes costs no more than limit bytes and the time
// to read the input once.
std::optional<QByteArray> inflateBounded(QByteArrayView compressed, qsizetype limit);

} // namespace vellumor::formats
