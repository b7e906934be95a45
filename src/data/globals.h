#pragma once

#include "platform/runtime/str.h"
#include "platform/runtime/types.h"

namespace pordex {

// The program's process-wide variables: one copy shared by every window thread, no lock.
// At process start texts are blank and numbers 0, except N_D = "'N'".
struct Globals {
    // Hand-over from the lists and the journal to the form.
    LONG PLAT = 0;     // payer chosen in the payers list
    LONG K_POL = 0;    // recipient chosen in the recipients list
    LONG KNN1 = 0;     // VO code chosen in the VO-code list
    BYTE PRI_DEL = 0;  // 1 while the journal's delete runs the form

    // The form's flags.
    BYTE KONTR = 0;  // 1: checks switched off
    BYTE ER = 0;     // 1: the last check failed

    // The journal's search texts, kept between openings.
    Str<50> NAME_P;    // payer
    Str<50> NAME_BNP;  // payer's bank
    Str<50> NAME_POL;  // recipient
    Str<50> NAME_N;    // purpose

    // Print snapshot: copies of the order being printed.
    Str<210> NAME_REW;
    Str<160> N_PLA_REW;
    Str<160> N_POL_REW;
    Str<80> N_BANK_REW;
    Str<80> BANK_PLA;
    Str<10> N_DOK_REW;
    Str<10> STRI_REW;
    Str<20> N_SC_A_REW;
    Str<20> N_SC_B_REW;
    Str<20> K_SC_B_REW;
    Str<20> K_SC_A;
    Str<12> INN_PLA;
    Str<12> INN_POL;
    Str<2> G101;
    Str<12> G102;
    Str<12> G103;
    Str<20> G104;
    Str<11> G105;
    Str<2> G106;
    Str<2> G107_1;
    Str<2> G107_2;
    Str<4> G107_3;
    Str<2> G108;
    Str<2> G109_1;
    Str<2> G109_2;
    Str<4> G109_3;
    Str<2> G110;
    Str<3> N_D{"'N'"};
    BYTE SORT_REW = 0;
    LONG MFO_A = 0;
    LONG MFO_B_REW = 0;
    LONG D_DOK_REW = 0;
    REAL SUMMA_REW = 0;

    // Amount in words.
    REAL S_R = 0;
    Str<60> S1;
    Str<60> S2;
    Str<60> S3;

    // Sign-on.
    SHORT KOD = 0;
    Str<10> PAROL;
};

// The one instance of the process.
Globals& globals();

// Back to the start-up values (the program's start, and tests between cases).
void resetGlobals();

}  // namespace pordex
