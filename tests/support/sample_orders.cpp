#include "support/sample_orders.h"

#include <string>

namespace pordex::test {

RewRecord sampleOrder(int i, LONG date) {
    RewRecord r{};
    r.N_DOK = std::to_string(1 + i % 99999);
    r.K_SC_B = "30101810400000000225";
    r.N_SC_A = "40702810500000000001";
    r.SORT = 5;
    r.D_DOK = date;
    r.DDD = 99999 - date;  // newest first in the date key
    r.INN_PLA = "7701234567";
    r.INN_POL = "7709876543";
    r.STRI = "ЭЛЕКТРОННО";
    r.MFO_A = 44525593;
    r.K_SC_A = "30101810200000000593";
    r.N_D = "N";
    return r;
}

}  // namespace pordex::test
