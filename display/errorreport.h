// Turns a failed DirectDraw or DirectSound call into a message box naming the
// failure, then asks the program to quit.
#pragma once

#include "platform/win32.h"

void ReportDirectDrawError(HRESULT result, HWND owner, const char* file, int line);
void ReportDirectSoundError(HRESULT result, HWND owner);
