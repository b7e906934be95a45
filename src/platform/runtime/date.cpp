#include "platform/runtime/date.h"

#include <cstdint>
#include <ctime>

namespace pordex {
namespace {

using i64 = std::int64_t;

i64 floorDiv(i64 a, i64 b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
i64 floorMod(i64 a, i64 b) {
    return a - floorDiv(a, b) * b;
}

// Days since 1 January 1970 of a proleptic Gregorian date (month 1..12); exact for any year
// that fits in 64 bits after the multiplications below (|year| < 10^15).
constexpr i64 daysFromCivil(i64 y, i64 m, i64 d) {
    y -= m <= 2;
    const i64 era = (y >= 0 ? y : y - 399) / 400;
    const i64 yoe = y - era * 400;
    const i64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const i64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    int year, month, day;
};

constexpr Civil civilFromDays(i64 z) {
    z += 719468;
    const i64 era = (z >= 0 ? z : z - 146096) / 146097;
    const i64 doe = z - era * 146097;
    const i64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const i64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const i64 mp = (5 * doy + 2) / 153;
    const i64 d = doy - (153 * mp + 2) / 5 + 1;
    const i64 m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// Day number = days since 1970-01-01 + this offset.
constexpr i64 kOffset = kFirstDay - daysFromCivil(1801, 1, 1);
static_assert(daysFromCivil(9999, 12, 31) + kOffset == kLastDay);

bool valid(LONG date) {
    return date >= kFirstDay && date <= kLastDay;
}

Civil split(LONG date) {
    return civilFromDays(static_cast<i64>(date) - kOffset);
}

}  // namespace

LONG DATE(int month, int day, int year) {
    // 64-bit throughout: month and day may be anything an int holds.
    const i64 m0 = static_cast<i64>(month) - 1;
    const i64 y = static_cast<i64>(year) + floorDiv(m0, 12);
    const i64 m = floorMod(m0, 12) + 1;
    const i64 n = daysFromCivil(y, m, 1) + kOffset + (static_cast<i64>(day) - 1);
    if (n < kFirstDay || n > kLastDay) return 0;
    return static_cast<LONG>(n);
}

int DAY(LONG date) {
    return valid(date) ? split(date).day : 0;
}
int MONTH(LONG date) {
    return valid(date) ? split(date).month : 0;
}
int YEAR(LONG date) {
    return valid(date) ? split(date).year : 0;
}

int weekday(LONG date) {
    return static_cast<int>(floorMod(date, 7));
}

LONG today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    return DATE(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
}

}  // namespace pordex
