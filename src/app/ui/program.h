#pragma once

#include <filesystem>

namespace pordex::app {

// The program: blanks its globals, prepares the settings store and the main thread's data
// store, switches off drag-full-windows for the run, runs the application frame until it is
// closed and then undoes what it changed. Returns the exit status.
int runProgram(const std::filesystem::path& settingsFile);

}  // namespace pordex::app
