#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/types.h"

namespace pordex {

// How the order checks read numbers out of text fields.
//
// A text is a number only when, blanks on either side aside, it is made of digits (and, where a
// sign is allowed, one leading minus). Anything else - letters, inner blanks, other signs, any
// other byte - is not a number at all, rather than being read as 0 or as its leading digits:
// an account with a stray letter then fails its key check and is left as typed instead of being
// rewritten into a different number, and a VAT rate such as "1a" is refused. A blank text reads
// as 0.

// The digits of an unsigned number without leading zeros ("0" for zero), or nothing when the
// text is not a number. Digits are kept as text, so twenty-digit accounts survive exactly.
std::optional<std::string> plainNumber(std::string_view text);

// A whole number as the user types a VAT rate: "18", " 5", "5 ", "-1". A blank text is not a
// number here (the rate's absence is reported by the required-field check).
std::optional<long> signedNumber(std::string_view text);

// ROUND(amount * rate / (rate + 100), 0.01), written with two decimals and a point, no digit
// grouping, no blanks, a minus for a negative result: the VAT contained in an amount.
// The amount is taken as the decimal it shows (its shortest exact decimal form, so 100.1 is
// 100.1 and not 100.09999...), the arithmetic is exact, and a half kopeck rounds away from zero.
// Nothing for an amount that is not finite or a rate that would divide by zero or less.
std::optional<std::string> vatAmountText(REAL amount, long rate);

}  // namespace pordex
