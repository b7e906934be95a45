#pragma once

#include "platform/runtime/types.h"

namespace pordex::sys {

// Stand-in for the desktop's "show window contents while dragging" setting. Linux desktops have
// no such switch a program may flip, so the value lives here: the program reads it at start,
// switches it off while it runs and puts it back at the end, as it would on the original system.
// The value "the desktop" starts with is 1 (on), as a fresh desktop has it.

// The current value: 1 on, 0 off.
LONG dragFullWindows();

// Writes the setting (the desktop would store it in the user's profile and tell every window).
void setDragFullWindows(LONG on);

// Tests: the value the desktop holds before the program starts, and how often it was written.
void setInitialDragFullWindows(LONG on);
int dragFullWindowsWrites();

}  // namespace pordex::sys
