#include "platform/system/beep.h"

#include <deque>
#include <mutex>

namespace pordex::sys {
namespace {

constexpr std::size_t kKept = 256;

struct BeepState {
    std::mutex mutex;
    std::deque<BeepCall> calls;
    std::function<void()> bell;
};

BeepState& state() {
    static BeepState s;
    return s;
}

}  // namespace

void beep(int first, int second) {
    std::function<void()> bell;
    {
        BeepState& s = state();
        std::lock_guard lock(s.mutex);
        s.calls.push_back({first, second});
        if (s.calls.size() > kKept) s.calls.pop_front();
        bell = s.bell;
    }
    if (bell) bell();
}

void setBell(std::function<void()> bell) {
    BeepState& s = state();
    std::lock_guard lock(s.mutex);
    s.bell = std::move(bell);
}

std::vector<BeepCall> recentBeeps() {
    BeepState& s = state();
    std::lock_guard lock(s.mutex);
    return {s.calls.begin(), s.calls.end()};
}

void clearRecentBeeps() {
    BeepState& s = state();
    std::lock_guard lock(s.mutex);
    s.calls.clear();
}

}  // namespace pordex::sys
