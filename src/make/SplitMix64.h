#pragma once

#include <cstdint>

namespace kf {

// The generator's own random numbers: SplitMix64 (Steele, Lea and Flood), written out so that a
// seed gives the same numbers with every compiler and library. The state steps by the golden
// ratio's 64-bit constant 0x9E3779B97F4A7C15; each output mixes it through two xor-shift-multiply
// rounds (0xBF58476D1CE4E5B9 after a shift of 30, 0x94D049BB133111EB after 27) and a last shift
// of 31.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}

    // The mixing of one output on its own: spreads any 64-bit value over all 64 bits.
    static constexpr std::uint64_t mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

    std::uint64_t next() {
        m_state += 0x9E3779B97F4A7C15u;
        return mix(m_state);
    }

    // A number from 0 to `count` - 1 (count at least 1), by the remainder: a bias below 2^-50
    // for the small counts the generator asks for.
    std::uint32_t below(std::uint32_t count) { return static_cast<std::uint32_t>(next() % count); }

private:
    std::uint64_t m_state;
};

} // namespace kf
