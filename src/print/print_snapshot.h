#pragma once

#include "data/records.h"

namespace pordex::print {

// Copies the order into the process-wide print snapshot that the printed order reads. The
// number sign is left out when field 108 holds a document number (anything but blank, "0" or
// "00").
void takePrintSnapshot(const RewRecord& rew);

}  // namespace pordex::print
