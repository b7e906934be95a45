#pragma once

#include "platform/runtime/types.h"

namespace pordex {

// Dates are day numbers: day 4 is 1 January 1801 and each later day is one more, up to
// 2994626 = 31 December 9999. 0 means "no date". Weekday = day % 7, 0 being Sunday.

// Smallest and largest valid day numbers.
inline constexpr LONG kFirstDay = 4;       // 1 January 1801
inline constexpr LONG kLastDay = 2994626;  // 31 December 9999

// The day number of the first of the month plus day - 1. Every part is normalised first,
// so no input is ever rejected as such:
//  - month 13 is January of the next year, month 0 December of the previous one, month -1
//    November of the previous one, and so on (months count on across year boundaries);
//  - days beyond the month's end roll into the following months, day 0 is the last day of the
//    previous month and negative days count further back;
//  - the year is taken as written (95 is the year 95, not 1995).
// A result outside 1 January 1801 .. 31 December 9999 gives 0 (no date).
LONG DATE(int month, int day, int year);

// Parts of a day number; 0 for 0 and for any number outside the valid range.
int DAY(LONG date);
int MONTH(LONG date);
int YEAR(LONG date);

// 0 = Sunday .. 6 = Saturday; always in 0..6, also for numbers outside the range.
int weekday(LONG date);

// Today's date from the system clock, in local time.
LONG today();

}  // namespace pordex
