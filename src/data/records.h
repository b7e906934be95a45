#pragma once

#include <cstddef>

#include "platform/runtime/str.h"
#include "platform/runtime/types.h"

namespace pordex {

// The nine record layouts, byte for byte as stored: fields back to back, no padding.
#pragma pack(push, 1)

struct PrpRecord {
    Str<1> T;
};

struct BikRecord {
    LONG MFORKC;
    Str<80> NAME;
    LONG MFO9;
    Str<25> KS;
};

struct PolRecord {
    SHORT NOMER;
    Str<160> N_POL;
    Str<12> INN_POL;
    Str<20> N_SC;
    Str<9> BIK;
    Str<20> KOR_SC;
    Str<60> N_BANK;
    Str<12> KPP;
    Str<8> OKATO;
};

struct McoRecord {
    LONG MFO;
    Str<25> KS;
};

struct KszRecord {
    LONG MFO;
    Str<25> KS;
    LONG MFO_N;
    Str<25> KS_N;
};

struct KnnRecord {
    LONG KOD;
    Str<70> N1;
    Str<70> N2;
    Str<70> N3;
    Str<70> N4;
};

struct KbpRecord {
    SHORT NOMER;
    Str<160> N_PLA;
    Str<12> INN_PLA;
    Str<20> N_SC_A;
    Str<9> MFO_A;
    Str<20> K_SC_A;
    Str<80> N_BANK;
    Str<12> KPP;
    Str<8> OKATO;
};

struct Bl2Record {
    LONG BS2;
};

struct RewRecord {
    LONG MFO_B;
    Str<5> N_DOK;
    Str<20> K_SC_B;
    Str<20> N_SC_B;
    REAL SUMMA;
    LONG DATA;
    Str<20> N_SC_A;
    SHORT PRI;
    BYTE SORT;
    Str<1> OTP;
    SHORT NOMER;
    LONG D_DOK;
    Str<12> INN_PLA;
    Str<12> INN_POL;
    Str<210> NAME;
    Str<160> N_PLA;
    Str<160> N_POL;
    Str<7> PO_TE;
    Str<10> STRI;
    Str<80> N_BANK;
    LONG D_PLA;
    Str<2> NDS;
    Str<80> BANK_PLA;
    LONG MFO_A;
    Str<20> K_SC_A;
    LONG DDD;
    Str<2> P101;
    Str<12> P102;
    Str<12> P103;
    Str<20> P104;
    Str<11> P105;
    Str<2> P106;
    Str<2> P107_1;
    Str<2> P107_2;
    Str<4> P107_3;
    Str<2> P108;
    Str<2> P109_1;
    Str<2> P109_2;
    Str<4> P109_3;
    Str<2> P110;
    Str<1> N_D;
};

#pragma pack(pop)

static_assert(sizeof(PrpRecord) == 1);
static_assert(sizeof(BikRecord) == 113 && offsetof(BikRecord, MFO9) == 84);
static_assert(sizeof(PolRecord) == 303 && offsetof(PolRecord, BIK) == 194);
static_assert(sizeof(McoRecord) == 29);
static_assert(sizeof(KszRecord) == 58 && offsetof(KszRecord, KS_N) == 33);
static_assert(sizeof(KnnRecord) == 284);
static_assert(sizeof(KbpRecord) == 323 && offsetof(KbpRecord, MFO_A) == 194);
static_assert(sizeof(Bl2Record) == 4);
static_assert(sizeof(RewRecord) == 936);
static_assert(offsetof(RewRecord, SUMMA) == 49 && offsetof(RewRecord, SORT) == 83 &&
              offsetof(RewRecord, D_DOK) == 87 && offsetof(RewRecord, NAME) == 115 &&
              offsetof(RewRecord, DDD) == 852 && offsetof(RewRecord, N_D) == 935);

}  // namespace pordex
