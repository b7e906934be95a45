#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "orders/account_key.h"
#include "orders/order_numbers.h"

namespace pordex {
namespace {

TEST(PlainNumber, DigitsWithBlanksAroundOnly) {
    EXPECT_EQ(plainNumber("40702810900000000012"), "40702810900000000012");
    EXPECT_EQ(plainNumber("   12345  "), "12345");
    EXPECT_EQ(plainNumber("00000000000000000012"), "12");
    EXPECT_EQ(plainNumber("0000"), "0");
    EXPECT_EQ(plainNumber("    "), "0");
    EXPECT_EQ(plainNumber(""), "0");
    for (const char* bad : {"4070281090000000001A", "40702 810", "-12", "+12", "1.5", "12\t",
                            "\xB9"
                            "12"}) {
        EXPECT_EQ(plainNumber(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(plainNumber(std::string_view("12\0", 3)), std::nullopt);
}

TEST(SignedNumber, WhatAVatRateAccepts) {
    const struct {
        const char* text;
        std::optional<long> value;
    } cases[] = {
        {"18", 18},
        {" 5", 5},
        {"5 ", 5},
        {"-1", -1},
        {"00", 0},
        {"0 ", 0},
        {"-0", 0},
        {"  ", std::nullopt},
        {"- ", std::nullopt},
        {"1-", std::nullopt},
        {"ab", std::nullopt},
        {"+5", std::nullopt},
        {"5%", std::nullopt},
        {"--", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(signedNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(VatAmount, ExactDecimalsHalfAwayFromZero) {
    const struct {
        double amount;
        long rate;
        const char* text;
    } cases[] = {
        {11800.00, 18, "1800.00"},
        {100.00, 20, "16.67"},
        // Exact halves that binary arithmetic puts just below the half.
        {0.09, 20, "0.02"},
        {0.57, 20, "0.10"},
        {0.36, 60, "0.14"},
        {-0.09, 20, "-0.02"},
        {1.00, 60, "0.38"},
        {100.1, 18, "15.27"},
        {12345678.91, 10, "1122334.45"},
        {999999999999.99, 18, "152542372881.35"},
        {1e20, 18, "15254237288135593220.34"},
        {100.00, -5, "-5.26"},
        {0.01, 18, "0.00"},
        {-0.01, 18, "0.00"},  // no minus before a zero
        {1e-300, 18, "0.00"},
        {0.0, 18, "0.00"},
        {5.0, 0, "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vatAmountText(c.amount, c.rate), c.text) << c.amount << " at " << c.rate;
}

TEST(VatAmount, NothingForNonFiniteAmounts) {
    EXPECT_EQ(vatAmountText(std::numeric_limits<double>::quiet_NaN(), 18), std::nullopt);
    EXPECT_EQ(vatAmountText(std::numeric_limits<double>::infinity(), 18), std::nullopt);
    EXPECT_EQ(vatAmountText(100, -100), std::nullopt);
}

TEST(VatAmount, HugeAmountsAreWrittenInFull) {
    const auto text = vatAmountText(std::numeric_limits<double>::max(), 99);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 308u + 3u);  // 1.79e308 * 99/199 has 308 integer digits
    EXPECT_EQ(text->substr(text->size() - 3, 1), ".");
}

TEST(AccountKey, Examples) {
    const struct {
        LONG bik;
        const char* account;
        BankPart part;
        bool valid;
    } cases[] = {
        {41234567, "40702810900000000012", BankPart::CreditInstitution, true},
        {41234567, "40101810800000010001", BankPart::SettlementCentre, true},
        {41234567, "40101810800000010001", BankPart::CreditInstitution, false},
        {41234567, "40702810800000000012", BankPart::CreditInstitution, false},  // ninth digit
        {41234567, "40702810900000000013", BankPart::CreditInstitution, false},  // last digit
        {44525225, "40702810700000000077", BankPart::CreditInstitution, true},
        {44525225, "40702810700000000077", BankPart::SettlementCentre, false},
        {41234567, "  40702810900000000012", BankPart::CreditInstitution, true},
        {41234567, "4070281090000000001A", BankPart::CreditInstitution, false},
        {41234567, "40702 10900000000012", BankPart::CreditInstitution, false},
        // Shorter numbers count as zero-filled: the ninth of twenty digits is then 0.
        {41234567, "12", BankPart::CreditInstitution, false},
        {41234000, "", BankPart::CreditInstitution, true},
        // Only the last nine digits of a damaged BIK count.
        {1041234567, "40702810900000000012", BankPart::CreditInstitution, true},
        {-41234567, "40702810900000000012", BankPart::CreditInstitution, true},
        {std::numeric_limits<LONG>::min(), "40702810900000000012", BankPart::SettlementCentre,
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(accountKeyValid(c.bik, c.account, c.part), c.valid)
            << c.bik << " " << c.account << " " << int(c.part);
}

}  // namespace
}  // namespace pordex
