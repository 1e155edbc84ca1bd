// libFuzzer entry point for the map file reader.
#include "fuzz/MapFileProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString problem = vellumor::fuzzing::checkMapFile(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "map file property broken: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
