#include "data/globals.h"

namespace pordex {

Globals& globals() {
    static Globals g;
    return g;
}

void resetGlobals() { globals() = Globals{}; }

}  // namespace pordex
