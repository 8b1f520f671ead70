// The C library's rand and srand in the page: the desktop's generator, and a
// seed the page's address may ask for (a test's known field).
#include "platform/web/glibcrandom.h"
#include "platform/web/pagecalls.h"

#include <cstdlib>

namespace
{

platform::GlibcRandom& Generator()
{
    static platform::GlibcRandom generator;
    return generator;
}

} // namespace

extern "C" void srand(unsigned seed)
{
    // The game seeds itself once, from the clock, when it starts; a seed
    // asked for by the page comes in its place.
    const int asked = tz_page_seed();
    Generator().Seed(asked >= 0 ? static_cast<unsigned>(asked) : seed);
}

extern "C" int rand()
{
    return Generator().Next();
}
