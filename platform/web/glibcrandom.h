// The random numbers of the desktop's C library (its additive feedback
// generator of degree 31), so that a field from a seed is the same field in
// the browser, whose C library has another generator.
#pragma once

#include <array>
#include <cstdint>

namespace platform
{

class GlibcRandom
{
public:
    explicit GlibcRandom(unsigned seed = 1) { Seed(seed); }
    void Seed(unsigned seed);
    // 0 to 2^31 - 1, as rand() gives them.
    int Next();

private:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;

    std::array<std::uint32_t, kDegree> m_State{};
    int m_nFront = kSeparation;
    int m_nRear = 0;
};

} // namespace platform
