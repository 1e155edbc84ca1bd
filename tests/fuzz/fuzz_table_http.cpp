// libFuzzer entry point for the table's HTTP front: a request's head.
#include "fuzz/TableProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString problem = vellumor::fuzzing::checkTableRequest(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "table request property broken: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
