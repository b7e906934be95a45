#pragma once

#include <functional>
#include <vector>

namespace pordex::sys {

// One call of the beep routine: the pair the caller asked for (tone, duration).
struct BeepCall {
    int first = 0;
    int second = 0;
    bool operator==(const BeepCall&) const = default;
};

// The platform's beep: remembers the pair and sounds the bell. The pair chooses nothing on this
// platform beyond being recorded: a desktop bell has one sound.
void beep(int first, int second);

// The sound itself. The window layer installs the desktop bell; without one, beeps are silent.
void setBell(std::function<void()> bell);

// The most recent calls, oldest first (at most the last 256), for tests.
std::vector<BeepCall> recentBeeps();
void clearRecentBeeps();

}  // namespace pordex::sys
