// libFuzzer entry point for the CSV, TMX and TMJ readers; the first byte of an
// input chooses the reader.
#include "fuzz/ImportProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString problem = vellumor::fuzzing::checkImport(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "import property broken: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
