// The virtual key of a key of the page's keyboard events, through one table.
#pragma once

#include "platform/win32/win32.h"

#include <string_view>

namespace platform
{

// code names the key's place (KeyboardEvent.code), key what it types on the
// player's layout (KeyboardEvent.key). 0: a key the game does not know.
UINT WebVirtualKey(std::string_view code, std::string_view key);

} // namespace platform
