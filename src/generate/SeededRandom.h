#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <utility>

namespace vellumor::generate {

// One choice of a weighted draw: chosen `weight` times in the sum of the
// weights.
template<typename T> struct Weighted
{
    T value;
    int weight;
};

// The generator's only source of chance. std::mt19937_64's output is fixed by
// the C++ standard, but the standard distributions are not, so every draw is
// made here from the raw engine output: a map made from a seed is then the
// same byte for byte with every compiler and standard library.
class SeededRandom
{
public:
    // One independent stream for each attempt at a map from the same seed.
    SeededRandom(std::uint64_t seed, std::uint32_t attempt);

    std::uint64_t next() { return m_engine(); }
    // A whole number from 0 to bound - 1; 0 when bound is 0.
    std::uint32_t below(std::uint32_t bound);
    // A whole number from low to high, both included (low when high < low).
    int between(int low, int high);
    // True once in `in` times on average.
    bool oneIn(std::uint32_t in) { return in <= 1 || below(in) == 0; }
    // True `percent` times in a hundred.
    bool percent(std::uint32_t chance) { return below(100) < chance; }

    template<typename T> const T &pick(std::span<const T> items)
    {
        return items[below(std::uint32_t(items.size()))];
    }
    template<typename T, std::size_t N> const T &pick(const T (&items)[N])
    {
        return pick(std::span<const T>(items));
    }
    // The one way the generator chooses among things of unequal chance.
    template<typename T> const T &weighted(std::span<const Weighted<T>> choices)
    {
        int total = 0;
        for (const Weighted<T> &choice : choices)
            total += choice.weight;
        int draw = int(below(std::uint32_t(total)));
        for (const Weighted<T> &choice : choices) {
            if (draw < choice.weight)
                return choice.value;
            draw -= choice.weight;
        }
        return choices.back().value;
    }
    template<typename T, std::size_t N> const T &weighted(const Weighted<T> (&choices)[N])
    {
        return weighted(std::span<const Weighted<T>>(choices));
    }

    template<typename T> void shuffle(std::span<T> items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[below(std::uint32_t(i))]);
    }

private:
    std::mt19937_64 m_engine;
};

} // namespace vellumor::generate
