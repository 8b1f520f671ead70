// Seeding by the minimal standard generator and running the feedback.
#include "platform/web/glibcrandom.h"

namespace platform
{

void GlibcRandom::Seed(unsigned seed)
{
    // A seed of 0 would fill the state with zeros.
    std::int32_t word = seed == 0 ? 1 : static_cast<std::int32_t>(seed);
    m_State[0] = static_cast<std::uint32_t>(word);
    for (int i = 1; i < kDegree; ++i)
    {
        // 16807 * word % (2^31 - 1) without overflow (Schrage's method).
        const std::int32_t high = word / 127773;
        const std::int32_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0)
            word += 2147483647;
        m_State[i] = static_cast<std::uint32_t>(word);
    }
    m_nFront = kSeparation;
    m_nRear = 0;
    // The first numbers still show the seed: they are passed over.
    for (int i = 0; i < 10 * kDegree; ++i)
        Next();
}

int GlibcRandom::Next()
{
    m_State[m_nFront] += m_State[m_nRear];
    const auto result = static_cast<int>(m_State[m_nFront] >> 1);
    m_nFront = (m_nFront + 1) % kDegree;
    m_nRear = (m_nRear + 1) % kDegree;
    return result;
}

} // namespace platform
