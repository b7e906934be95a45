#pragma once

#include "platform/report/band.h"
#include "platform/runtime/str.h"

namespace pordex::print {

// The print fields of one printed payment order, worked out from the print snapshot. Blank
// until the record step fills them.
struct PrPlatFields {
    Str<2> DP1;  // day of the document date
    Str<2> DP2;  // month
    Str<4> DP3;  // year
    Str<40> N_PLA1, N_PLA2, N_PLA3, N_PLA4;
    Str<40> N_POL1, N_POL2, N_POL3, N_POL4;
    Str<40> BANK_PLA1, BANK_PLA2;
    Str<40> N_BANK1, N_BANK2;
    Str<70> NAME1, NAME2, NAME3, NAME4;
    Str<21> SUMMA_1;  // amount in figures, roubles-dash-kopecks
    Str<1> G107_T, G109_T;
    Str<10> G107_D, G109_D;
};

// The record step of the printed order: reads the print snapshot, writes the amount in words
// (S_R, then S1..S3 through CONV_S) and fills the print fields.
void prPlatRecordStep(PrPlatFields& f);

// The texts of the page, in the order of the form's fields, each written in its picture.
report::PageValues prPlatPage(const PrPlatFields& f);

}  // namespace pordex::print
