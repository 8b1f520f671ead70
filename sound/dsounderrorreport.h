// Turns a failed DirectSound call into a message box naming the failure, then
// asks the program to quit.
#pragma once

#include "platform/dsound/dsound.h"

// The published constant's name for a result code, or "Unknown Error".
const char* DirectSoundErrorName(HRESULT result);

// Shows its box (caption "Error", one OK button), posts the quit request and
// returns; the caller carries on until the main loop meets the request.
void ReportDirectSoundError(HRESULT result, HWND owner);
