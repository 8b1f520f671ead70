// Cuts a blit's source rectangle and destination position to a clip rectangle,
// since BltFast itself does not clip. Used for the crosshair, which reaches the
// screen's edges.
#pragma once

#include "platform/win32/win32.h"

// The clip rectangle's right and bottom are exclusive. When nothing is left the
// source comes out empty (right <= left or bottom <= top) and BltFast refuses it.
void ClipToRect(LONG& x, LONG& y, RECT& source, const RECT& clip);
