#include <gtest/gtest.h>

#include <climits>
#include <ctime>

#include "platform/runtime/date.h"

namespace pordex {
namespace {

struct Known {
    int month, day, year;
    LONG number;
    int weekday;  // 0 = Sunday
};

// Dates whose day numbers the data files rely on, and weekdays from the calendar.
TEST(Date, KnownDayNumbers) {
    const Known cases[] = {
        {1, 1, 1801, 4, 4},          // first valid day, a Thursday
        {11, 9, 2000, 73000, 4},     // the calendar's upper limit for a starting date
        {10, 11, 2074, 99999, 4},    // the order date that drops out of the journal's key
        {12, 31, 9999, 2994626, 5},  // last valid day, a Friday
        {1, 1, 2000, 72687, 6},      // a Saturday
        {7, 1, 2005, 74695, 5},      // a Friday
        {2, 29, 2000, 72746, 2},     // leap day of a century divisible by 400
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.day << "." << c.month << "." << c.year);
        EXPECT_EQ(DATE(c.month, c.day, c.year), c.number);
        EXPECT_EQ(DAY(c.number), c.day);
        EXPECT_EQ(MONTH(c.number), c.month);
        EXPECT_EQ(YEAR(c.number), c.year);
        EXPECT_EQ(weekday(c.number), c.weekday);
    }
}

// Every valid day splits into parts that build it again, and each day follows its predecessor
// in the calendar (so month lengths and leap years are right everywhere).
TEST(Date, EveryValidDaySplitsAndRebuilds) {
    int d = 1, m = 1, y = 1801;
    for (LONG n = kFirstDay; n <= kLastDay; ++n) {
        if (DAY(n) != d || MONTH(n) != m || YEAR(n) != y || DATE(m, d, y) != n) {
            FAIL() << "day " << n << ": " << DAY(n) << "." << MONTH(n) << "." << YEAR(n)
                   << ", expected " << d << "." << m << "." << y;
        }
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        const int length[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (++d > length[m - 1]) {
            d = 1;
            if (++m > 12) m = 1, ++y;
        }
    }
    EXPECT_EQ(y, 10000);
}

TEST(Date, PartsOutsideTheirRangesRollOver) {
    struct Roll {
        int month, day, year;
        int toMonth, toDay, toYear;
    };
    const Roll cases[] = {
        {13, 1, 2005, 1, 1, 2006},  // month 13 is January of the next year
        {25, 1, 2004, 1, 1, 2006},
        {0, 1, 2005, 12, 1, 2004},  // month 0 is December of the previous year
        {-1, 15, 2005, 11, 15, 2004},
        {-12, 1, 2005, 12, 1, 2003},
        {1, 32, 2005, 2, 1, 2005},  // days beyond the month roll on
        {2, 30, 2005, 3, 2, 2005},
        {2, 30, 2004, 3, 1, 2004},
        {2, 29, 1900, 3, 1, 1900},  // 1900 had no leap day
        {1, 366, 2005, 1, 1, 2006},
        {3, 0, 2005, 2, 28, 2005},  // day 0 is the last day of the previous month
        {3, 0, 2004, 2, 29, 2004},
        {3, -1, 2004, 2, 28, 2004},
        {1, 0, 2005, 12, 31, 2004},
        {14, 31, 2005, 3, 3, 2006},  // both at once: 31 February 2006
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "DATE(" << c.month << ", " << c.day << ", " << c.year << ")");
        const LONG n = DATE(c.month, c.day, c.year);
        EXPECT_EQ(DAY(n), c.toDay);
        EXPECT_EQ(MONTH(n), c.toMonth);
        EXPECT_EQ(YEAR(n), c.toYear);
    }
}

TEST(Date, ResultsOutsideTheValidRangeAreNoDate) {
    EXPECT_EQ(DATE(12, 31, 1800), 0);
    EXPECT_EQ(DATE(1, 0, 1801), 0);
    EXPECT_EQ(DATE(1, 1, 10000), 0);
    EXPECT_EQ(DATE(12, 32, 9999), 0);
    EXPECT_EQ(DATE(13, 1, 9999), 0);
    EXPECT_EQ(DATE(0, 0, 0), 0);
    EXPECT_EQ(DATE(1, 1, 95), 0);  // years are taken as written
    EXPECT_EQ(DATE(INT_MAX, INT_MAX, INT_MAX), 0);
    EXPECT_EQ(DATE(INT_MIN, INT_MIN, INT_MIN), 0);
    EXPECT_EQ(DATE(INT_MAX, 1, 1801), 0);
    EXPECT_EQ(DATE(1, INT_MIN, 9999), 0);
    // Parts outside their ranges that land inside it are a date.
    EXPECT_EQ(DATE(-11, 1, 10000), DATE(1, 1, 9999));
    EXPECT_EQ(DATE(1, 1 + (kLastDay - kFirstDay), 1801), kLastDay);
}

TEST(Date, PartsOfInvalidNumbersAreZero) {
    for (LONG n : {0, 1, 3, -1, -100000, kLastDay + 1, INT_MAX, INT_MIN}) {
        EXPECT_EQ(DAY(n), 0) << n;
        EXPECT_EQ(MONTH(n), 0) << n;
        EXPECT_EQ(YEAR(n), 0) << n;
        EXPECT_GE(weekday(n), 0) << n;
        EXPECT_LE(weekday(n), 6) << n;
    }
    EXPECT_EQ(weekday(-1), 6);
    EXPECT_EQ(weekday(0), 0);
}

TEST(Date, TodayIsTheLocalCalendarDay) {
    for (int attempt = 0; attempt < 2; ++attempt) {  // once more if midnight passed between
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        const LONG t = today();
        if (DAY(t) == local.tm_mday) {
            EXPECT_EQ(MONTH(t), local.tm_mon + 1);
            EXPECT_EQ(YEAR(t), local.tm_year + 1900);
            EXPECT_EQ(weekday(t), local.tm_wday);
            return;
        }
    }
    FAIL() << "today() does not match the local date";
}

}  // namespace
}  // namespace pordex
