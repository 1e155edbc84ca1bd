#include "generate/SeededRandom.h"

namespace vellumor::generate {

namespace {

// SplitMix64's finaliser: neighbouring seeds and attempts start the engine
// far apart.
std::uint64_t mixed(std::uint64_t value)
{
    value += 0x9e3779b97f4a7c15ull;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ull;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebull;
    return value ^ (value >> 31);
}

} // namespace

SeededRandom::SeededRandom(std::uint64_t seed, std::uint32_t attempt)
    : m_engine(mixed(mixed(seed) ^ attempt))
{ }

std::uint32_t SeededRandom::below(std::uint32_t bound)
{
    if (bound == 0)
        return 0;
    // Lemire's multiply-and-shift on the upper 32 bits, rejecting the few
    // values that would make some results likelier than others.
    const std::uint32_t threshold = std::uint32_t(-bound) % bound;
    for (;;) {
        const std::uint64_t product = (next() >> 32) * std::uint64_t(bound);
        if (std::uint32_t(product) >= threshold)
            return std::uint32_t(product >> 32);
    }
}

int SeededRandom::between(int low, int high)
{
    if (high <= low)
        return low;
    return low + int(below(std::uint32_t(high - low + 1)));
}

} // namespace vellumor::generate
