// The claim on the game's folder in a browser: every tab of the game's page
// shares one storage, so the page holds a lock that only one tab gets, taken
// before the program starts.
#include "platform/web/pagecalls.h"
#include "platform/win32/workingfolder.h"

bool ClaimWorkingFolder()
{
    return tz_page_folder_claimed() != 0;
}
