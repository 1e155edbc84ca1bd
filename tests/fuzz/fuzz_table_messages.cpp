// libFuzzer entry point for the GM's messages, one a line.
#include "fuzz/TableProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString problem = vellumor::fuzzing::checkGmMessages(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "GM message property broken: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
