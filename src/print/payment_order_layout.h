#pragma once

#include "platform/report/band.h"

namespace pordex::print {

// The fields of form 0401060's detail band, in the band's order: a page's values are given in
// this order.
enum PageField : int {
    PF_N_D,
    PF_N_DOK_REW,
    PF_DP1,
    PF_DP2,
    PF_DP3,
    PF_STRI_REW,
    PF_G101,
    PF_S1,
    PF_S2,
    PF_S3,
    PF_INN_PLA,
    PF_G102,
    PF_SUMMA_1,
    PF_N_PLA1,
    PF_N_PLA2,
    PF_N_PLA3,
    PF_N_PLA4,
    PF_N_SC_A_REW,
    PF_MFO_A,
    PF_BANK_PLA1,
    PF_BANK_PLA2,
    PF_K_SC_A,
    PF_N_BANK1,
    PF_N_BANK2,
    PF_MFO_B_REW,
    PF_K_SC_B_REW,
    PF_INN_POL,
    PF_G103,
    PF_N_SC_B_REW,
    PF_N_POL1,
    PF_N_POL2,
    PF_N_POL3,
    PF_N_POL4,
    PF_SORT_REW,
    PF_G104,
    PF_G105,
    PF_G106,
    PF_G107_D,
    PF_G108,
    PF_G109_D,
    PF_G110,
    PF_NAME1,
    PF_NAME2,
    PF_NAME3,
    PF_NAME4,
    PF_COUNT
};

// The payment order on bank form 0401060: one page, the official grid and captions.
const report::ReportLayout& paymentOrderLayout();

}  // namespace pordex::print
