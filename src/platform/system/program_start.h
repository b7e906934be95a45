#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pordex::sys {

// Starts another program from a command line and does not wait for it. Returns false when it
// could not be started. Windows programs the system calls by name are mapped to their Linux
// counterparts first ("calc.exe" becomes the first desktop calculator found on the PATH).
bool startProgram(std::string_view commandLine);

// The command line that would really be run for `commandLine` (after the mapping above).
std::string nativeCommandLine(std::string_view commandLine);

// Tests replace the starter so that nothing is launched; it receives the native command line.
// An empty function restores the real one.
void setProgramStarter(std::function<bool(const std::string&)> starter);

}  // namespace pordex::sys
