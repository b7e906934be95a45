#include "print/print_snapshot.h"

#include "data/globals.h"

namespace pordex::print {

void takePrintSnapshot(const RewRecord& rew) {
    Globals& g = globals();
    g.N_DOK_REW.assignFrom(rew.N_DOK);
    g.D_DOK_REW = rew.D_DOK;
    g.STRI_REW.assignFrom(rew.STRI);
    g.N_SC_A_REW.assignFrom(rew.N_SC_A);
    g.MFO_B_REW = rew.MFO_B;
    g.K_SC_B_REW.assignFrom(rew.K_SC_B);
    g.N_SC_B_REW.assignFrom(rew.N_SC_B);
    g.SORT_REW = rew.SORT;
    g.NAME_REW.assignFrom(rew.NAME);
    g.N_POL_REW.assignFrom(rew.N_POL);
    g.N_BANK_REW.assignFrom(rew.N_BANK);
    g.N_PLA_REW.assignFrom(rew.N_PLA);
    g.SUMMA_REW = rew.SUMMA;
    g.BANK_PLA.assignFrom(rew.BANK_PLA);
    g.MFO_A = rew.MFO_A;
    g.K_SC_A.assignFrom(rew.K_SC_A);
    g.G101.assignFrom(rew.P101);
    g.G102.assignFrom(rew.P102);
    g.G103.assignFrom(rew.P103);
    g.G104.assignFrom(rew.P104);
    g.G105.assignFrom(rew.P105);
    g.G106.assignFrom(rew.P106);
    g.G107_1.assignFrom(rew.P107_1);
    g.G107_2.assignFrom(rew.P107_2);
    g.G107_3.assignFrom(rew.P107_3);
    g.G108.assignFrom(rew.P108);
    g.G109_1.assignFrom(rew.P109_1);
    g.G109_2.assignFrom(rew.P109_2);
    g.G109_3.assignFrom(rew.P109_3);
    g.G110.assignFrom(rew.P110);
    g.N_D.assignFrom(rew.N_D);
    const std::string_view p108 = rew.P108.trimmed();
    if (!p108.empty() && p108 != "0" && p108 != "00") g.N_D.clear();
    g.INN_PLA.assignFrom(rew.INN_PLA);
    g.INN_POL.assignFrom(rew.INN_POL);
}

}  // namespace pordex::print
