#include "data/file_layouts.h"

namespace pordex {
namespace {

using files::FieldDesc;
using files::FileDesc;
using files::KeyDesc;

#define F(R, f) PORDEX_FIELD(R, f)

// Every key of the program has one ascending component; all are NOCASE.
constexpr KeyDesc key(std::string_view name, std::string_view description, std::size_t field,
                      bool unique, int thenField = -1, bool thenDescending = false) {
    return KeyDesc{name, description, field, unique, true, true, thenField, thenDescending};
}

constexpr FieldDesc prpFields[] = {F(PrpRecord, T)};

constexpr FieldDesc bikFields[] = {F(BikRecord, MFORKC), F(BikRecord, NAME), F(BikRecord, MFO9),
                                   F(BikRecord, KS)};
constexpr KeyDesc bikKeys[] = {key("KEY_1", "Bik:KEY_1", 2, true),
                               key("KEY_2", "Bik:KEY_2", 3, false)};

constexpr FieldDesc polFields[] = {F(PolRecord, NOMER),  F(PolRecord, N_POL), F(PolRecord, INN_POL),
                                   F(PolRecord, N_SC),   F(PolRecord, BIK),   F(PolRecord, KOR_SC),
                                   F(PolRecord, N_BANK), F(PolRecord, KPP),   F(PolRecord, OKATO)};
constexpr KeyDesc polKeys[] = {key("KEY_1", "Pol:KEY_1", 0, true)};

constexpr FieldDesc mcoFields[] = {F(McoRecord, MFO), F(McoRecord, KS)};
constexpr KeyDesc mcoKeys[] = {key("KEY_1", "Mco:KEY_1", 0, true)};

constexpr FieldDesc kszFields[] = {F(KszRecord, MFO), F(KszRecord, KS), F(KszRecord, MFO_N),
                                   F(KszRecord, KS_N)};
constexpr KeyDesc kszKeys[] = {key("KEY_1", "Ksz:KEY_1", 1, false)};

constexpr FieldDesc knnFields[] = {F(KnnRecord, KOD), F(KnnRecord, N1), F(KnnRecord, N2),
                                   F(KnnRecord, N3), F(KnnRecord, N4)};
constexpr KeyDesc knnKeys[] = {key("KEY_1", "Knn:KEY_1", 0, true)};

constexpr FieldDesc kbpFields[] = {F(KbpRecord, NOMER),  F(KbpRecord, N_PLA), F(KbpRecord, INN_PLA),
                                   F(KbpRecord, N_SC_A), F(KbpRecord, MFO_A), F(KbpRecord, K_SC_A),
                                   F(KbpRecord, N_BANK), F(KbpRecord, KPP),   F(KbpRecord, OKATO)};
constexpr KeyDesc kbpKeys[] = {key("KEY_1", "Kbp:KEY_1", 0, true)};

constexpr FieldDesc bl2Fields[] = {F(Bl2Record, BS2)};
constexpr KeyDesc bl2Keys[] = {key("KEY_1", "Bl2:KEY_1", 0, true)};

constexpr FieldDesc rewFields[] = {
    F(RewRecord, MFO_B),   F(RewRecord, N_DOK),   F(RewRecord, K_SC_B),   F(RewRecord, N_SC_B),
    F(RewRecord, SUMMA),   F(RewRecord, DATA),    F(RewRecord, N_SC_A),   F(RewRecord, PRI),
    F(RewRecord, SORT),    F(RewRecord, OTP),     F(RewRecord, NOMER),    F(RewRecord, D_DOK),
    F(RewRecord, INN_PLA), F(RewRecord, INN_POL), F(RewRecord, NAME),     F(RewRecord, N_PLA),
    F(RewRecord, N_POL),   F(RewRecord, PO_TE),   F(RewRecord, STRI),     F(RewRecord, N_BANK),
    F(RewRecord, D_PLA),   F(RewRecord, NDS),     F(RewRecord, BANK_PLA), F(RewRecord, MFO_A),
    F(RewRecord, K_SC_A),  F(RewRecord, DDD),     F(RewRecord, P101),     F(RewRecord, P102),
    F(RewRecord, P103),    F(RewRecord, P104),    F(RewRecord, P105),     F(RewRecord, P106),
    F(RewRecord, P107_1),  F(RewRecord, P107_2),  F(RewRecord, P107_3),   F(RewRecord, P108),
    F(RewRecord, P109_1),  F(RewRecord, P109_2),  F(RewRecord, P109_3),   F(RewRecord, P110),
    F(RewRecord, N_D)};
// The journal lists orders of one date from the highest document number down.
constexpr KeyDesc rewKeys[] = {key("KEY_4", "Rew:key_4", 25, false, 1, true)};

#undef F

}  // namespace

const FileDesc& prpFile() {
    static const FileDesc d{"PRP", "PRP", sizeof(PrpRecord), prpFields, {}};
    return d;
}
const FileDesc& bikFile() {
    static const FileDesc d{"BIK", "DATA/Bik.dat", sizeof(BikRecord), bikFields, bikKeys};
    return d;
}
const FileDesc& polFile() {
    static const FileDesc d{"POL", "DATA/Pol.dat", sizeof(PolRecord), polFields, polKeys};
    return d;
}
const FileDesc& mcoFile() {
    static const FileDesc d{"MCO", "DATA/Mco.dat", sizeof(McoRecord), mcoFields, mcoKeys};
    return d;
}
const FileDesc& kszFile() {
    static const FileDesc d{"KSZ", "DATA/Ksz.dat", sizeof(KszRecord), kszFields, kszKeys};
    return d;
}
const FileDesc& knnFile() {
    static const FileDesc d{"KNN", "DATA/Knn.dat", sizeof(KnnRecord), knnFields, knnKeys};
    return d;
}
const FileDesc& kbpFile() {
    static const FileDesc d{"KBP", "DATA/Kbp.dat", sizeof(KbpRecord), kbpFields, kbpKeys};
    return d;
}
const FileDesc& bl2File() {
    static const FileDesc d{"BL2", "DATA/Bl2.dat", sizeof(Bl2Record), bl2Fields, bl2Keys};
    return d;
}
const FileDesc& rewFile() {
    static const FileDesc d{"REW", "DATA/Rew.dat", sizeof(RewRecord), rewFields, rewKeys};
    return d;
}

}  // namespace pordex
