// zlib directly rather than qUncompress: qUncompress trusts a size prefix Tiled
// does not write and has no limit on what it unpacks.
#include "formats/BoundedInflate.h"

#include <zlib.h>

namespace vellumor::formats {

std::optional<QByteArray> inflateBounded(QByteArrayView compressed, qsizetype limit)
{
    z_stream stream {};
    // 15 + 32: a zlib or a gzip header, whichever the data starts with.
    if (inflateInit2(&stream, 15 + 32) != Z_OK)
        return std::nullopt;
    // One byte more than allowed, to tell "exactly the limit" from "more".
    QByteArray output(limit + 1, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef *>(output.data());
    stream.avail_out = uInt(output.size());
    const int result = inflate(&stream, Z_FINISH);
    const qsizetype produced = output.size() - qsizetype(stream.avail_out);
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced > limit)
        return std::nullopt;
    output.truncate(produced);
    return output;
}

} // namespace vellumor::formats
