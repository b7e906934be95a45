#pragma once

#include "data/records.h"
#include "platform/runtime/types.h"

namespace pordex::test {

// An order of the benchmarks' journals: number `1 + i % 99999`, dated `date`, from one payer's
// account at one bank, paid electronically. Recipient, sum and texts are the caller's.
RewRecord sampleOrder(int i, LONG date);

}  // namespace pordex::test
