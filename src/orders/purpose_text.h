#pragma once

#include <cstddef>
#include <string_view>

#include "platform/runtime/str.h"
#include "platform/runtime/types.h"

namespace pordex {

// Edits of the purpose of payment (REW:NAME) made by the order checks. Texts are Windows-1251.

// Length of the VO prefix the purpose begins with: "{VO", the code's digits (a damaged code may
// carry a minus), "}" and one blank if present. 0 when the purpose does not begin with one.
std::size_t voPrefixLength(std::string_view purpose);

// The VAT phrase. `rate` is the VAT-rate field as typed (already known to be a number).
// An old phrase - "в т.ч. НДС" or ".НДС не" and everything after it - is removed, unless it
// begins the purpose (only blanks before it); then, except for "-1", the text is cut to 175
// characters and either
// " в т.ч. НДС <rate>%=<VAT amount>" or, for a zero rate ("0", "00", " 0"), ".НДС не облагается."
// is appended.
//
// The purpose is taken as the text after a VO prefix: where it "begins" and the 175 characters
// are counted there, so inserting a VO prefix after this step does not change what the next run
// removes or cuts. A phrase at the start is kept, and the search for an old phrase goes on past
// it, so a purpose beginning with a phrase gets one phrase appended, not one more each run.
// Where the first 175 characters hold no text (nothing but a VO prefix, say) nothing is cut or
// appended.
void applyVatPhrase(Str<210>& purpose, const Str<2>& rate, REAL amount);

// Puts the VO code in front of the purpose as "{VO<code>} ", replacing a VO prefix already there.
// Five-digit codes keep their leading zeros ("{VO01010} "): the code is five digits, and the
// prefix of the five-digit form is what a later replacement removes. The result is cut to 210.
void applyVoCode(Str<210>& purpose, LONG code);

}  // namespace pordex
