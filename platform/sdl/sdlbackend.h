// The desktop's back end: SDL's window, its events and its pointer.
#pragma once

#include "platform/win32/backend.h"

#include <memory>

namespace platform
{

std::unique_ptr<BackEnd> MakeSdlBackEnd();

} // namespace platform
