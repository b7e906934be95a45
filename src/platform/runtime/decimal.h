#pragma once

#include <optional>
#include <string>

namespace pordex {

// A number written out in decimal digits.
struct DecimalDigits {
    bool negative = false;
    std::string integer;   // no leading zeros; "0" for a zero integer part
    std::string fraction;  // exactly the requested number of decimals
};

// Rounds to `decimals` places (0..40) half away from zero, as the value reads in its shortest
// decimal form: 1.005 is stored as 1.00499999999999989..., but it is the amount the user typed,
// so it gives 1.01; 2.675 gives 2.68 and -0.125 gives -0.13 at two places.
// Digits beyond those that identify the double are zeros: 4.07028104e19 is written
// 40702810400000000000. A value that rounds to zero is never negative. nullopt for NaN and
// infinities.
std::optional<DecimalDigits> roundDecimal(double value, int decimals);

}  // namespace pordex
