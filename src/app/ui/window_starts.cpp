#include "app/ui/window_starts.h"

namespace pordex::app {

ProgramWindows& programWindows() {
    static ProgramWindows w;
    return w;
}

}  // namespace pordex::app
