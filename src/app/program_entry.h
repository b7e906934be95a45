#pragma once

#include <filesystem>
#include <memory>

#include "data/window_thread.h"
#include "platform/runtime/types.h"

namespace pordex::app {

// The program's start and end around the application frame: the process-wide variables, the
// settings store, the main thread's data store and the drag-full-windows setting.
class ProgramEntry {
  public:
    // Process start: the globals blanked (N_D = "'N'") and the main thread's start steps (its
    // dictionary does not build the store: begin() does, once the settings store is ready).
    ProgramEntry();
    ~ProgramEntry();
    ProgramEntry(const ProgramEntry&) = delete;
    ProgramEntry& operator=(const ProgramEntry&) = delete;

    // Before the frame opens: the settings store on `settingsFile`, the main thread's data
    // store, and the drag-full-windows setting switched off for the run when it was on.
    void begin(const std::filesystem::path& settingsFile);
    // After the frame has closed: the setting switched on again if it was on at start, and the
    // settings store closed.
    void end();

    WindowThread& mainThread() { return *mainThread_; }
    // The setting as it was at start (1 on).
    LONG currentFDSetting() const { return lCurrentFDSetting_; }

  private:
    std::unique_ptr<WindowThread> mainThread_;
    LONG lCurrentFDSetting_ = 0;
    bool begun_ = false;
};

}  // namespace pordex::app
