#pragma once

namespace pordex::ui {

// What the window framework sets up once per process, before any window opens: the font
// substitutions, the desktop bell behind the beep routine and the error manager's message boxes.
void installPlatform();

}  // namespace pordex::ui
