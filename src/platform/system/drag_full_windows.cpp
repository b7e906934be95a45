#include "platform/system/drag_full_windows.h"

#include <atomic>

namespace pordex::sys {
namespace {

std::atomic<LONG> value{1};
std::atomic<int> writes{0};

}  // namespace

LONG dragFullWindows() {
    return value.load();
}

void setDragFullWindows(LONG on) {
    value.store(on ? 1 : 0);
    ++writes;
}

void setInitialDragFullWindows(LONG on) {
    value.store(on);
    writes.store(0);
}

int dragFullWindowsWrites() {
    return writes.load();
}

}  // namespace pordex::sys
