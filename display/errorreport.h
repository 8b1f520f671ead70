// Turns a failed DirectDraw call into a message box naming the failure, then
// asks the program to quit.
#pragma once

#include "platform/win32/win32.h"

// The published constant's name for a result code, or "Unknown Error".
const char* DirectDrawErrorName(HRESULT result);

// Shows its box (caption "Error", one OK button), posts the quit request and
// returns; the caller carries on until the main loop meets the request.
void ReportDirectDrawError(HRESULT result, HWND owner, const char* file, int line);
