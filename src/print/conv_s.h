#pragma once

#include "platform/runtime/str.h"

namespace pordex::print {

// The amount in words as the printed order shows it under "Сумма прописью": roubles in Russian
// words, kopecks as two digits and their noun, on up to three lines of 60 characters
// (Windows-1251, blank padded). Lines not needed are blank.
struct AmountWords {
    Str<60> S1;
    Str<60> S2;
    Str<60> S3;
};

// The amount is first rounded to whole kopecks, half away from zero as it reads in decimal
// (0.005 gives "01 копейка", 1.005 gives "Один рубль 01 копейка"). Amounts outside
// 0 .. 999 999 999 999.99 after that rounding (negative, 10^12 and more, NaN, infinities) have
// no words: all three lines are blank.
AmountWords amountInWords(double amount);

// Reads globals().S_R and writes globals().S1, S2 and S3, all three on every call.
void CONV_S();

}  // namespace pordex::print
