// The one set of test seams; all of them say "behave for real" until a test
// changes them.
#include "platform/win32/testseams.h"

namespace platform
{

TestSeams& TestSeams::Get()
{
    static TestSeams seams;
    return seams;
}

} // namespace platform
