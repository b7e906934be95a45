#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "platform/runtime/date.h"
#include "platform/runtime/decimal.h"
#include "platform/runtime/picture.h"

namespace pordex {
namespace {

// `text` right-aligned in a field of `width` characters.
std::string right(int width, const std::string& text) {
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

double day(int month, int d, int year) {
    return DATE(month, d, year);
}

Picture pic(const char* text) {
    auto p = Picture::parse(text);
    EXPECT_TRUE(p.has_value()) << text;
    return p.value_or(Picture{});
}

TEST(Picture, ParsesThePlatformsForms) {
    using K = Picture::Kind;
    using F = Picture::DateForm;
    struct Case {
        const char* text;
        K kind;
        int width, decimals;
        bool zeroFill, grouping, blankZero;
        F form;
    };
    const Case cases[] = {
        {"s20", K::Text, 20, 0, false, false, false, F::DayMonthYear},
        {"S1", K::Text, 1, 0, false, false, false, F::DayMonthYear},
        {"n09", K::Number, 9, 0, true, false, false, F::DayMonthYear},
        {"N020", K::Number, 20, 0, true, false, false, F::DayMonthYear},
        {"n09b", K::Number, 9, 0, true, false, true, F::DayMonthYear},
        {"n_5", K::Number, 5, 0, false, false, false, F::DayMonthYear},
        {"n_1b", K::Number, 1, 0, false, false, true, F::DayMonthYear},
        {"n2", K::Number, 2, 0, false, true, false, F::DayMonthYear},
        {"n18.2", K::Number, 18, 2, false, true, false, F::DayMonthYear},
        {"n18.2b", K::Number, 18, 2, false, true, true, F::DayMonthYear},
        {"n_18.2", K::Number, 18, 2, false, false, false, F::DayMonthYear},
        {"d6", K::Date, 10, 0, false, false, false, F::DayMonthYear},
        {"D6b", K::Date, 10, 0, false, false, true, F::DayMonthYear},
        {"d12", K::Date, 8, 0, false, false, false, F::Compact},
        {"D4", K::Date, 19, 0, false, false, false, F::Long},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto p = Picture::parse(c.text);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->kind, c.kind);
        EXPECT_EQ(p->width, c.width);
        EXPECT_EQ(p->decimals, c.decimals);
        EXPECT_EQ(p->zeroFill, c.zeroFill);
        EXPECT_EQ(p->grouping, c.grouping);
        EXPECT_EQ(p->blankZero, c.blankZero);
        if (c.kind == K::Date) {
            EXPECT_EQ(p->dateForm, c.form);
        }
    }
    for (const char* bad : {"",   "s",   "s0",   "s20b", "s2x",  "x5",     "n",           "n0",
                            "n_", "n_0", "n18.", "n2.2", "n3.2", "n18.2x", "n18.2bb",     "n300",
                            "d",  "d5",  "d6x",  "d6bb", "@n09", " n9",    "s99999999999"}) {
        EXPECT_FALSE(Picture::parse(bad).has_value()) << '"' << bad << '"';
    }
}

struct FormatCase {
    const char* picture;
    double value;
    std::string expected;
};

TEST(Picture, FormatsNumbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const FormatCase cases[] = {
        {"n18.2", 1234567.891, right(18, "1,234,567.89")},
        {"n18.2", 0, right(18, "0.00")},
        {"n18.2", -1234.5, right(18, "-1,234.50")},
        {"n18.2", 999, right(18, "999.00")},
        {"n18.2", 1000, right(18, "1,000.00")},
        {"n18.2", 999999999999.99, "999,999,999,999.99"},  // twelve digits fill the field
        {"n18.2", 1e12, std::string(18, '#')},
        {"n18.2", -999999999999.99, std::string(18, '#')},  // no room for the sign
        {"n18.2", -99999999999.99, "-99,999,999,999.99"},
        {"n18.2", nan, std::string(18, '#')},
        {"n18.2", -inf, std::string(18, '#')},
        // Halves round away from zero, as the amount reads in decimal.
        {"n18.2", 1.005, right(18, "1.01")},
        {"n18.2", 2.675, right(18, "2.68")},
        {"n18.2", 0.285, right(18, "0.29")},
        {"n18.2", 1.015, right(18, "1.02")},
        {"n18.2", 0.125, right(18, "0.13")},
        {"n18.2", -0.005, right(18, "-0.01")},
        {"n18.2", 0.004999, right(18, "0.00")},
        {"n18.2", -0.004, right(18, "0.00")},  // no "-0.00"
        {"n18.2", 999.995, right(18, "1,000.00")},
        {"n18.2", 999999999999.995, std::string(18, '#')},  // rounds to thirteen digits
        {"n18.2b", 0, std::string(18, ' ')},
        {"n18.2b", 0.004, std::string(18, ' ')},
        {"n18.2b", 0.005, right(18, "0.01")},
        {"n18.2b", -0.0, std::string(18, ' ')},
        {"n_18.2", 1234.5, right(18, "1234.50")},
        {"n_18.2", 1000, right(18, "1000.00")},
        {"n_18.2", -123456789012345.0, std::string(18, '#')},
        {"n_18.2", 123456789012345.0, "123456789012345.00"},
        {"n09", 44525225, "044525225"},
        {"n09", 0, "000000000"},
        {"n09", 999999999, "999999999"},
        {"n09", 1000000000, "#########"},
        {"n09", -5, "-00000005"},
        {"n09b", 0, "         "},
        {"n09b", 7, "000000007"},
        {"N020", 12345, "00000000000000012345"},
        {"n_20", 1e19, "10000000000000000000"},
        {"n_20", 4.07028104e19, "40702810400000000000"},
        // A double holds about 17 digits: the rest read as zeros, not as its binary tail.
        {"n_20", 40702810400000012345.0, "40702810400000020000"},
        {"n_5", 123, "  123"},
        {"n_5", 12345, "12345"},
        {"n_5", 123456, "#####"},
        {"n_5", -1234, "-1234"},
        {"n_5", -12345, "#####"},
        {"n_5", 12.5, "   13"},
        {"n_5", -12.5, "  -13"},
        {"n_5b", 0, "     "},
        {"n_5b", 0.4, "     "},
        {"n_4", 2005, "2005"},
        {"n_1b", 0, " "},
        {"n_1b", 5, "5"},
        {"n_1b", 10, "#"},
        {"n2", 7, " 7"},
        {"n2", 99, "99"},
        {"n2", 100, "##"},
        {"n5", 1234, "1,234"},
        {"n5", 12345, "#####"},  // "12,345" needs six
        {"n10.3", -1234.5678, "-1,234.568"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format(c.picture, c.value), c.expected) << c.picture << " " << c.value;
    }
}

TEST(Picture, FormatsDates) {
    const LONG july1 = DATE(7, 1, 2005);
    const FormatCase cases[] = {
        {"d6", static_cast<double>(july1), "01/07/2005"},
        {"D6", static_cast<double>(july1), "01/07/2005"},
        {"D6b", static_cast<double>(july1), "01/07/2005"},
        {"d6", kFirstDay, "01/01/1801"},
        {"d6", kLastDay, "31/12/9999"},
        {"d6", 0, std::string(10, ' ')},
        {"D6b", 0, std::string(10, ' ')},
        {"d6", 3, std::string(10, '#')},
        {"d6", -1, std::string(10, '#')},
        {"d6", kLastDay + 1, std::string(10, '#')},
        {"d6", july1 + 0.5, std::string(10, '#')},
        {"d12", static_cast<double>(july1), "20050701"},
        {"d12", day(12, 31, 1999), "19991231"},
        {"d12", 0, std::string(8, ' ')},
        {"d12", 1e300, std::string(8, '#')},
        {"D4", static_cast<double>(july1), "1 июля 2005 г."},
        {"D4", day(9, 30, 2005), "30 сентября 2005 г."},
        {"D4", day(1, 15, 1801), "15 января 1801 г."},
        {"D4", day(5, 9, 2045), "9 мая 2045 г."},
        {"D4", 0, ""},
        {"D4", -7, std::string(19, '#')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format(c.picture, c.value), c.expected) << c.picture << " " << c.value;
    }
    const char* genitive[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                              "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(format("D4", DATE(m, 2, 2010)), "2 " + std::string(genitive[m - 1]) + " 2010 г.");
    }
}

TEST(Picture, FormatsTexts) {
    EXPECT_EQ(formatText(pic("s5"), "Привет, мир"), "Приве");
    EXPECT_EQ(formatText(pic("s5"), "ab"), "ab   ");
    EXPECT_EQ(formatText(pic("s3"), ""), "   ");
    EXPECT_EQ(formatText(pic("s2"), "\xD0"), "\xD0 ");  // a cut sequence stays one character
    EXPECT_EQ(formatValue(pic("s8"), 12.5), "12.5    ");
    EXPECT_EQ(formatValue(pic("s3"), -1234), "-12");
    // Number and date pictures read the text first.
    EXPECT_EQ(formatText(pic("n18.2"), "1234,5"), right(18, "1,234.50"));
    EXPECT_EQ(formatText(pic("n18.2"), "abc"), std::string(18, '#'));
    EXPECT_EQ(formatText(pic("d6"), "1.7.05"), "01/07/2005");
    EXPECT_EQ(formatText(pic("D4"), "31/02/2005"), std::string(19, '#'));
}

struct ParseCase {
    const char* picture;
    const char* text;
    std::optional<double> expected;
};

TEST(Picture, ParsesTypedNumbers) {
    const std::optional<double> no;
    const ParseCase cases[] = {
        {"n18.2", "", 0},
        {"n18.2", "   ", 0},
        {"n18.2", "1234.56", 1234.56},
        {"n18.2", "1,234.56", 1234.56},
        {"n18.2", "1,234,567.8", 1234567.8},
        {"n18.2", "  1 234,56 ", 1234.56},
        {"n18.2", "1\u00A0234\u00A0567,00", 1234567},
        {"n18.2", "1234,5", 1234.5},
        {"n18.2", "12,50", 12.5},
        {"n18.2", "1,500", 1500},  // three digits after a lone comma: thousands
        {"n18.2", "1 500,125", 1500.13},
        {"n18.2", "0,125", 0.13},
        {"n18.2", "1.005", 1.01},
        {"n18.2", "-12.5", -12.5},
        {"n18.2", "- 12.5", -12.5},
        {"n18.2", "+7", 7},
        {"n18.2", "12.", 12},
        {"n18.2", ".5", 0.5},
        {"n18.2", ",5", 0.5},
        {"n18.2", "000012.30", 12.3},
        {"n18.2", "999,999,999,999.99", 999999999999.99},
        {"n18.2", "999999999999.994", 999999999999.99},
        {"n18.2", "999999999999.995", no},  // rounds to thirteen digits
        {"n18.2", "1,000,000,000,000.00", no},
        {"n18.2", "-999999999999", no},  // no room for the sign
        {"n18.2", "12a", no},
        {"n18.2", "1e5", no},
        {"n18.2", "1.2.3", no},
        {"n18.2", "1..2", no},
        {"n18.2", "1,23,456", no},
        {"n18.2", "1234,567.5", no},
        {"n18.2", "1,,234", no},
        {"n18.2", ",", no},
        {"n18.2", ".", no},
        {"n18.2", "-", no},
        {"n18.2", "12-", no},
        {"n18.2", "--1", no},
        {"n18.2", "1 2", no},
        {"n18.2", "0x10", no},
        {"n18.2", "١٢", no},
        {"n18.2b", "", 0},
        {"n_18.2", "1234.5", 1234.5},
        {"n_5", "12345", 12345},
        {"n_5", "123456", no},
        {"n_5", "1,234", 1234},
        {"n_5", "12,5", no},  // a comma in a whole number separates thousands
        {"n_5", "12.4", 12},
        {"n_5", "-1234", -1234},
        {"n_5", "-12345", no},
        {"n_1b", "7", 7},
        {"n_1b", "17", no},
        {"n09", "044525225", 44525225},
        {"n09", "1234567890", no},
        {"n2", "99", 99},
        {"n2", "100", no},
        {"s10", "1,5", 1.5},
        {"s10", "12345678901234567890", 12345678901234567890.0},
        {"s10", "x", no},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture << " \"" << c.text << '"');
        const auto got = parseValue(pic(c.picture), c.text);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << (got ? *got : 0.0);
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.expected);
        }
    }
}

TEST(Picture, ParsesTypedDates) {
    const std::optional<double> no;
    const double july1 = DATE(7, 1, 2005);
    const ParseCase cases[] = {
        {"d6", "01/07/2005", july1},
        {"D6b", "1.7.2005", july1},
        {"d6", " 1-7-2005 ", july1},
        {"d6", "01072005", july1},
        {"d6", "010705", july1},
        {"d6", "1/7/05", july1},
        {"d6", "1/7/85", DATE(7, 1, 1985)},
        {"d6", "1/7/79", DATE(7, 1, 2079)},
        {"d6", "1 июля 2005 г.", july1},
        {"d6", "1 ИЮЛЬ 2005", july1},
        {"D4", "1 июл 2005", july1},
        {"D4", "1 июля 2005 года", july1},
        {"D4", "9 мая 2045 г.", DATE(5, 9, 2045)},
        {"D4", "1 ию 2005", no},  // June or July?
        {"D4", "1 июлябрь 2005", no},
        {"d6", "29/02/2004", DATE(2, 29, 2004)},
        {"d6", "29/02/2005", no},
        {"d6", "31/04/2005", no},
        {"d6", "00/01/2005", no},
        {"d6", "01/13/2005", no},
        {"d6", "01/00/2005", no},
        {"d6", "31/12/1800", no},
        {"d6", "01/01/1801", kFirstDay},
        {"d6", "31/12/9999", kLastDay},
        {"d6", "1/7/123", no},
        {"d6", "1/7/20050", no},
        {"d6", "1/7", no},
        {"d6", "1/7/2005/1", no},
        {"d6", "0107200", no},
        {"d6", "abc", no},
        {"d6", "1 июля 2005 abc", no},
        {"d6", "", 0},
        {"D6b", "  /  /    ", 0},
        {"D6b", "  .  .    ", 0},
        {"d12", "20050701", july1},
        {"d12", "2005-07-01", july1},
        {"d12", "01072005", no},
        {"d12", "010705", no},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture << " \"" << c.text << '"');
        const auto got = parseValue(pic(c.picture), c.text);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << (got ? *got : 0.0);
        if (got) {
            EXPECT_EQ(*got, *c.expected);
        }
    }
}

// What a field shows reads back as the value it shows.
TEST(Picture, WrittenValuesReadBack) {
    std::mt19937_64 rng(20050701);
    std::uniform_real_distribution<double> amount(-99999999999.0, 999999999999.0);
    std::uniform_int_distribution<LONG> anyDay(kFirstDay, kLastDay);
    for (int i = 0; i < 5000; ++i) {
        const double v = std::round(amount(rng) * 100) / 100;
        for (const char* p : {"n18.2", "n_18.2", "n18.2b"}) {
            const auto back = parseValue(pic(p), formatValue(pic(p), v));
            ASSERT_TRUE(back.has_value()) << p << " " << v;
            EXPECT_EQ(formatValue(pic(p), *back), formatValue(pic(p), v));
            EXPECT_NEAR(*back, v, 0.005);
        }
        const double bik = std::floor(std::fabs(v)) / 1000;
        EXPECT_EQ(parseValue(pic("n09"), formatValue(pic("n09"), std::round(bik))),
                  std::round(bik));
        const LONG d = anyDay(rng);
        for (const char* p : {"d6", "D6b", "d12", "D4"}) {
            EXPECT_EQ(parseValue(pic(p), formatValue(pic(p), d)), std::optional<double>(d)) << p;
        }
    }
}

// Typed junk never breaks the reader, and whatever it accepts fits the field it was typed in.
TEST(Picture, AcceptedInputAlwaysFitsItsField) {
    const char* pieces[] = {"0",    "1",  "5", "9",    "12",   "123",         "2005",
                            ",",    ".",  " ", "-",    "+",    "/",           "\xC2\xA0",
                            "июля", "г.", "e", "\xFF", "\xD0", "999999999999"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> count(0, 8);
    int accepted = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int k = count(rng); k > 0; --k) text += pieces[piece(rng)];
        for (const char* p : {"n18.2b", "n_5", "n09", "n2", "d6", "d12", "D4"}) {
            const auto v = parseValue(pic(p), text);
            if (!v) continue;
            ++accepted;
            EXPECT_EQ(formatValue(pic(p), *v).find('#'), std::string::npos)
                << p << " \"" << text << "\" -> " << *v;
        }
    }
    EXPECT_GT(accepted, 1000);
}

TEST(Decimal, RoundsAsTheNumberReads) {
    struct Case {
        double value;
        int decimals;
        bool negative;
        const char* integer;
        const char* fraction;
    };
    const Case cases[] = {
        {0.5, 0, false, "1", ""},
        {-0.5, 0, true, "1", ""},
        {0.49999999999999994, 0, false, "0", ""},
        {9.995, 2, false, "10", "00"},
        {1e20, 2, false, "100000000000000000000", "00"},
        {5e-324, 2, false, "0", "00"},
        {-5e-324, 2, false, "0", "00"},
        {123.456, 5, false, "123", "45600"},
        {0.1 + 0.2, 2, false, "0", "30"},
    };
    for (const auto& c : cases) {
        const auto d = roundDecimal(c.value, c.decimals);
        ASSERT_TRUE(d.has_value()) << c.value;
        EXPECT_EQ(d->negative, c.negative) << c.value;
        EXPECT_EQ(d->integer, c.integer) << c.value;
        EXPECT_EQ(d->fraction, c.fraction) << c.value;
    }
    EXPECT_FALSE(roundDecimal(std::numeric_limits<double>::quiet_NaN(), 2).has_value());
    EXPECT_FALSE(roundDecimal(std::numeric_limits<double>::infinity(), 2).has_value());
    EXPECT_EQ(roundDecimal(-1.7976931348623157e308, 0)->integer.size(), 309u);
}

}  // namespace
}  // namespace pordex
