#pragma once

#include "platform/runtime/str.h"
#include "platform/runtime/types.h"

namespace pordex::app {

// The sign-on window's message line and the main menu's date: one of each for the program.
struct ShellVariables {
    Str<30> MESSAGE;
    LONG DATE1 = 0;
};

ShellVariables& shellVariables();

}  // namespace pordex::app
