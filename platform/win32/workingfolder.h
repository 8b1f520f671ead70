// The claim on the working folder, where the game keeps its table: one
// process at a time plays on one table.
#pragma once

// Claims the working folder for this process until it ends or claims another;
// false while another process holds it. The system lets go of the claim when
// the holder ends, however it ends. Holds in every folder the process may
// enter, also one it may write but not read.
bool ClaimWorkingFolder();
