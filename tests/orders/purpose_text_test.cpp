#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "orders/purpose_text.h"

namespace pordex {
namespace {

std::string utf8(const Str<210>& s) {
    return s.utf8();
}

std::string repeat(const char* s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

struct VatCase {
    const char* name;
    std::string purpose;
    const char* rate;
    double amount;
    std::string expected;
};

void PrintTo(const VatCase& c, std::ostream* os) {
    *os << c.name;
}

class VatPhrase : public ::testing::TestWithParam<VatCase> {};

TEST_P(VatPhrase, WritesThePhraseAndKeepsItOnASecondRun) {
    const VatCase& c = GetParam();
    Str<210> purpose(c.purpose);
    const Str<2> rate(c.rate);
    applyVatPhrase(purpose, rate, c.amount);
    EXPECT_EQ(utf8(purpose), c.expected);
    const Str<210> once = purpose;
    applyVatPhrase(purpose, rate, c.amount);
    EXPECT_EQ(utf8(purpose), utf8(once)) << "second run";
}

const std::string a175 = std::string(175, 'A');

INSTANTIATE_TEST_SUITE_P(
    Cases, VatPhrase,
    ::testing::Values(
        VatCase{"Example", "Оплата по счету 17", "18", 11800.00,
                "Оплата по счету 17 в т.ч. НДС 18%=1800.00"},
        VatCase{"RoundedToKopeck", "Услуги", "20", 100.00, "Услуги в т.ч. НДС 20%=16.67"},
        VatCase{"RateWithLeadingBlank", "Услуги", " 5", 105.00, "Услуги в т.ч. НДС  5%=5.00"},
        VatCase{"RateWithTrailingBlank", "Услуги", "5 ", 105.00, "Услуги в т.ч. НДС 5 %=5.00"},
        VatCase{"OldPhraseReplaced", "Услуги в т.ч. НДС 10%=5.00 по счету", "18", 118.00,
                "Услуги в т.ч. НДС 18%=18.00"},
        VatCase{"ZeroRate", "Услуги", "0", 100.00, "Услуги.НДС не облагается."},
        VatCase{"ZeroRateTwoDigits", "Услуги   ", "00", 100.00, "Услуги.НДС не облагается."},
        VatCase{"ZeroRateLeadingBlank", "Услуги", " 0", 100.00, "Услуги.НДС не облагается."},
        VatCase{"ZeroReplacesVat", "Услуги в т.ч. НДС 18%=18.00", "0", 118.00,
                "Услуги.НДС не облагается."},
        VatCase{"VatReplacesZero", "Услуги.НДС не облагается.", "18", 118.00,
                "Услуги в т.ч. НДС 18%=18.00"},
        VatCase{"BothOldPhrasesGo", "Товар.НДС не облагается. в т.ч. НДС 18%=1.00", "10", 110.00,
                "Товар в т.ч. НДС 10%=10.00"},
        VatCase{"MinusOneOnlyRemoves", "Услуги в т.ч. НДС 18%=18.00", "-1", 118.00, "Услуги"},
        VatCase{"MinusOneRemovesNoVat", "Услуги.НДС не облагается.", "-1", 118.00, "Услуги"},
        VatCase{"MinusOneDoesNotCut", std::string(200, 'A'), "-1", 1.00, std::string(200, 'A')},
        VatCase{"LongPurposeCutTo175", std::string(200, 'A'), "18", 118.00,
                a175 + " в т.ч. НДС 18%=18.00"},
        VatCase{"CutLeavesNoTrailingBlanks", std::string(170, 'A') + std::string(30, ' ') + "B",
                "18", 118.00, std::string(170, 'A') + " в т.ч. НДС 18%=18.00"},
        // A purpose that begins with the phrase keeps it; exactly one phrase is appended.
        VatCase{"PurposeBeginsWithPhrase", "в т.ч. НДС 20% по договору", "20", 120.00,
                "в т.ч. НДС 20% по договору в т.ч. НДС 20%=20.00"},
        VatCase{"PurposeBeginsWithNoVat", ".НДС не облагается.", "0", 1.00,
                ".НДС не облагается..НДС не облагается."},
        VatCase{"OnlyBlanksBeforePhrase", "  в т.ч. НДС 5", "18", 118.00,
                "  в т.ч. НДС 5 в т.ч. НДС 18%=18.00"},
        VatCase{"OnlyBlanksBeforeNoVat", "  .НДС не облагается.", "0", 1.00,
                "  .НДС не облагается..НДС не облагается."},
        // After a VO prefix: the start of the purpose and its 175 characters are counted there.
        VatCase{"AfterVoPrefix", "{VO12345} в т.ч. НДС 20% по договору", "20", 120.00,
                "{VO12345} в т.ч. НДС 20% по договору в т.ч. НДС 20%=20.00"},
        VatCase{"VoPrefixAndLongPurpose", "{VO12345} " + std::string(200, 'A'), "18", 118.00,
                "{VO12345} " + a175 + " в т.ч. НДС 18%=18.00"},
        VatCase{"CutTo210", "{VO12345} " + a175, "18", 9999999999999.99,
                Str<210>("{VO12345} " + a175 + " в т.ч. НДС 18%=1525423728813.56").utf8()},
        VatCase{"PrefixOnlyZero", "{VO12345}", "0", 1.00, "{VO12345}"},
        VatCase{"PrefixOnlyVat", "{VO12345}  ", "18", 118.00, "{VO12345}"},
        VatCase{"NoTextInFirst175", std::string(175, ' ') + "X", "18", 118.00,
                std::string(175, ' ') + "X"},
        VatCase{"NegativeAmount", "Возврат", "20", -120.00, "Возврат в т.ч. НДС 20%=-20.00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VoPrefix, Length) {
    EXPECT_EQ(voPrefixLength("{VO12345} Оплата"), 10u);
    EXPECT_EQ(voPrefixLength("{VO12345}Оплата"), 9u);
    EXPECT_EQ(voPrefixLength("{VO1010}  Оплата"), 9u);
    EXPECT_EQ(voPrefixLength("{VO-5} x"), 7u);
    EXPECT_EQ(voPrefixLength("{VO} x"), 0u);
    EXPECT_EQ(voPrefixLength("{VO12345"), 0u);
    EXPECT_EQ(voPrefixLength("{VO12a45} x"), 0u);
    EXPECT_EQ(voPrefixLength(" {VO12345} x"), 0u);
    EXPECT_EQ(voPrefixLength("{VO12345678901} x"), 0u);  // longer than any code
}

TEST(VoCode, PutInFrontAndReplacingAnOldOne) {
    const struct {
        const char* purpose;
        LONG code;
        const char* expected;
    } cases[] = {
        {"Оплата", 12345, "{VO12345} Оплата"},
        {"{VO11111} Оплата", 22222, "{VO22222} Оплата"},
        {"{VO11111}Оплата", 22222, "{VO22222} Оплата"},
        {"{VO1010} Оплата", 20100, "{VO20100} Оплата"},  // nothing of the text is lost
        {"Оплата", 1010, "{VO01010} Оплата"},
        {"{VO Оплата", 12345, "{VO12345} {VO Оплата"},
        {"{VO-5} Оплата", 12345, "{VO12345} Оплата"},
        {"Оплата", -5, "{VO-5} Оплата"},
        {"Оплата", 2147483647, "{VO2147483647} Оплата"},
        {"   Оплата", 12345, "{VO12345}    Оплата"},
    };
    for (const auto& c : cases) {
        Str<210> purpose(c.purpose);
        applyVoCode(purpose, c.code);
        EXPECT_EQ(utf8(purpose), c.expected) << c.purpose << " / " << c.code;
    }
}

TEST(VoCode, CutTo210) {
    Str<210> purpose(repeat("Б", 210));
    applyVoCode(purpose, 12345);
    EXPECT_EQ(utf8(purpose), "{VO12345} " + repeat("Б", 200));
}

}  // namespace
}  // namespace pordex
