// The program's entry point. The application shell is not built yet, so the
// program only says so.
#include <cstdio>

int main()
{
    std::fputs("Tamzelon cannot be played yet: the application shell is still being built.\n",
               stderr);
    return 1;
}
