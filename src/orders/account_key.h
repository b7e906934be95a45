#pragma once

#include <string_view>

#include "platform/runtime/types.h"

namespace pordex {

// Which three digits of the BIK stand before the account in the control-key sum: a credit
// institution's last three (b7 b8 b9), or for a settlement centre of the Bank of Russia "0" b5 b6.
enum class BankPart { CreditInstitution, SettlementCentre };

// The control key of an account: the account's ninth digit, tested against the weighted sum
// (weights 7, 1, 3 repeated) of the bank part and the account's twenty digits with the ninth
// taken as 0. `account` is the field's text; it is read as a number (see plainNumber) and
// written as twenty digits with leading zeros, so shorter accounts count as zero-filled.
// Text that is not a number cannot carry a valid key and fails.
// A BIK is nine digits; a value outside that range (only a damaged record holds one)
// contributes its last nine digits.
bool accountKeyValid(LONG bik, std::string_view account, BankPart part);

}  // namespace pordex
