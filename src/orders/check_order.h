#pragma once

#include <string>
#include <vector>

#include "data/globals.h"
#include "data/records.h"
#include "orders/order_references.h"

namespace pordex {

// OK saves after a pass; "Готово???" confirms, and a pass then offers OK.
enum class CheckMode { Save, Confirm };

// One call of the platform's beep routine.
struct Beep {
    int tone;
    int duration;
    bool operator==(const Beep&) const = default;
};

struct CheckResult {
    bool passed = true;
    bool ran = true;  // false: the checks were not run (deletion, or control switched off)
    // For the message line MES_REW, UTF-8. After a failure: the check's message (possibly
    // empty). After a pass in confirm mode: the prompt to press OK, to be shown after the form's
    // reset; empty otherwise.
    std::string message;
    std::vector<Beep> signal;  // the beeps to sound, in order; empty for none
    std::string focus;         // name of the control that takes the focus after a failure
    bool showOk = false;       // confirm mode and no failure: OK becomes visible
};

// The checks and completions that guard saving a payment order, over the form's REW buffer.
// The chain stops at the first failing check; what earlier steps filled in (bank names,
// correspondent accounts, the recipient's account in normal form, the purpose's VAT phrase and
// VO prefix) stays in the buffer. Uses the globals ER (0 on start, 1 on failure), KNN1
// (consumed), PRI_DEL and KONTR (either at 1: nothing is checked or changed).
CheckResult CheckOrder(RewRecord& rew, OrderReferences& refs, CheckMode mode,
                       Globals& g = globals());

namespace beeps {
inline const std::vector<Beep> threeTone{{200, 30}, {300, 30}, {200, 30}};
inline const std::vector<Beep> shortThreeTone{{200, 20}, {300, 20}, {200, 20}};
inline const std::vector<Beep> lowBeep{{150, 16}};
inline const std::vector<Beep> highBeep{{1000, 16}};
}  // namespace beeps

}  // namespace pordex
