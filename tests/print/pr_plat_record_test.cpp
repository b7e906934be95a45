#include <gtest/gtest.h>

#include <string>

#include "data/globals.h"
#include "platform/runtime/date.h"
#include "print/payment_order_layout.h"
#include "print/pr_plat_record.h"

namespace pordex::print {
namespace {

// A text of `n` ASCII characters in which every position can be told apart.
std::string positions(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

// Characters from..to (1-based) of a UTF-8 text of Cyrillic and ASCII, by characters.
std::string utf8Chars(const std::string& s, std::size_t from, std::size_t to) {
    Str<210> t(s);
    std::string_view raw = t.trimmed();
    if (from > raw.size()) return "";
    return cp1251ToUtf8(raw.substr(from - 1, std::min(to, raw.size()) - from + 1));
}

class RecordStepTest : public ::testing::Test {
  protected:
    void SetUp() override { resetGlobals(); }
    void TearDown() override { resetGlobals(); }

    PrPlatFields step() {
        PrPlatFields f;
        prPlatRecordStep(f);
        return f;
    }
};

// The purpose in four lines of 70, the VAT clause always opening a line of its own.
struct PurposeCase {
    const char* what;
    std::size_t length;  // of the whole purpose, marker included
    std::size_t marker;  // 1-based position of "в т.ч. НДС", 0: none
    // Expected lines as 1-based character ranges of the purpose; {0, 0} is blank.
    std::pair<std::size_t, std::size_t> lines[4];
};

const PurposeCase kPurposes[] = {
    {"no marker", 210, 0, {{1, 70}, {71, 140}, {141, 210}, {0, 0}}},
    {"no marker, short", 50, 0, {{1, 50}, {0, 0}, {0, 0}, {0, 0}}},
    {"marker at 1", 60, 1, {{0, 0}, {1, 60}, {0, 0}, {0, 0}}},
    {"marker at 100 of 120", 120, 100, {{1, 70}, {71, 99}, {100, 120}, {0, 0}}},
    {"marker at 150", 210, 150, {{1, 70}, {71, 140}, {141, 149}, {150, 210}}},
    {"marker at 70", 150, 70, {{1, 69}, {70, 139}, {0, 0}, {0, 0}}},
    {"marker at 71", 150, 71, {{1, 70}, {0, 0}, {71, 140}, {0, 0}}},
    {"marker at 140", 200, 140, {{1, 70}, {71, 139}, {140, 200}, {0, 0}}},
    {"marker at 141", 200, 141, {{1, 70}, {71, 140}, {0, 0}, {141, 200}}},
    {"clause past 70 is not printed", 210, 10, {{1, 9}, {10, 79}, {0, 0}, {0, 0}}},
};

TEST_F(RecordStepTest, PurposeLinesStartTheVatClauseOnANewLine) {
    const std::string clause = "в т.ч. НДС 18% ";
    for (const PurposeCase& c : kPurposes) {
        SCOPED_TRACE(c.what);
        std::string purpose = positions(c.length);
        if (c.marker > 0) {
            // Marker bytes replace characters at its place; the length stays in characters.
            const std::string before = purpose.substr(0, c.marker - 1);
            std::string after = clause + positions(c.length);
            purpose = before + utf8Chars(after, 1, c.length - before.size());
        }
        ASSERT_EQ(Str<210>(purpose).length(), c.length);
        resetGlobals();
        globals().NAME_REW = purpose;
        const PrPlatFields f = step();
        const Str<70>* got[] = {&f.NAME1, &f.NAME2, &f.NAME3, &f.NAME4};
        for (int i = 0; i < 4; ++i) {
            const auto [from, to] = c.lines[i];
            EXPECT_EQ(got[i]->utf8(), from == 0 ? "" : utf8Chars(purpose, from, to))
                << "line " << i + 1;
        }
    }
}

TEST_F(RecordStepTest, TheMarkerIsMatchedExactly) {
    globals().NAME_REW = "Оплата за товар в т.ч. ндс 18%";  // lower case: no marker
    EXPECT_EQ(step().NAME1.utf8(), "Оплата за товар в т.ч. ндс 18%");
    globals().NAME_REW = "Оплата в т.ч. НДС 18%, повторно в т.ч. НДС";  // the first one counts
    const PrPlatFields f = step();
    EXPECT_EQ(f.NAME1.utf8(), "Оплата");
    EXPECT_EQ(f.NAME2.utf8(), "в т.ч. НДС 18%, повторно в т.ч. НДС");
}

TEST_F(RecordStepTest, NamesAreCutEvery40CharactersEvenInsideAWord) {
    const std::string name45 = "Общество с ограниченной ответственностью Роза";  // 45
    ASSERT_EQ(Str<160>(name45).length(), 45u);
    Globals& g = globals();
    g.N_POL_REW = name45;
    g.N_PLA_REW = name45 + " " + positions(114);  // 160
    g.N_BANK_REW = name45;
    g.BANK_PLA = positions(80);
    const PrPlatFields f = step();
    EXPECT_EQ(f.N_POL1.utf8(), "Общество с ограниченной ответственностью");
    EXPECT_EQ(f.N_POL2.utf8(), " Роза");
    EXPECT_TRUE(f.N_POL3.blank());
    EXPECT_TRUE(f.N_POL4.blank());
    EXPECT_EQ(f.N_BANK1.utf8(), "Общество с ограниченной ответственностью");
    EXPECT_EQ(f.N_BANK2.utf8(), " Роза");
    EXPECT_EQ(f.N_PLA1.utf8(), "Общество с ограниченной ответственностью");
    EXPECT_EQ(f.N_PLA2.utf8(), " Роза " + positions(34));
    EXPECT_EQ(f.N_PLA3.utf8(), positions(74).substr(34));
    EXPECT_EQ(f.N_PLA4.utf8(), positions(114).substr(74));
    EXPECT_EQ(f.BANK_PLA1.utf8(), positions(40));
    EXPECT_EQ(f.BANK_PLA2.utf8(), positions(80).substr(40));
}

TEST_F(RecordStepTest, AmountInFiguresAndInWords) {
    struct Case {
        double amount;
        const char* figures;
    };
    const Case cases[] = {
        {0.5, "0-50"}, {1234.5, "1234-50"},         {1000, "1000-00"},
        {0, "0-00"},   {1234567.891, "1234567-89"}, {999999999999.99, "999999999999-99"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        globals().SUMMA_REW = c.amount;
        const PrPlatFields f = step();
        EXPECT_EQ(f.SUMMA_1.utf8(), c.figures);
        EXPECT_EQ(globals().S_R, c.amount);
    }
    globals().SUMMA_REW = 0.5;
    const PrPlatFields f = step();
    EXPECT_EQ(globals().S1.utf8(), "50 копеек");
    EXPECT_TRUE(globals().S2.blank());
    EXPECT_TRUE(globals().S3.blank());
    const report::PageValues page = prPlatPage(f);
    EXPECT_EQ(Str<21>(page[PF_SUMMA_1]).utf8(), "0-50");
    EXPECT_EQ(Str<60>(page[PF_S1]).utf8(), "50 копеек");
}

TEST_F(RecordStepTest, DocumentDateInDayMonthYear) {
    globals().D_DOK_REW = DATE(7, 1, 2005);
    PrPlatFields f = step();
    EXPECT_EQ(f.DP1.utf8(), "01");
    EXPECT_EQ(f.DP2.utf8(), "07");
    EXPECT_EQ(f.DP3.utf8(), "2005");
    globals().D_DOK_REW = DATE(12, 31, 9999);
    f = step();
    EXPECT_EQ(f.DP1.utf8() + f.DP2.utf8() + f.DP3.utf8(), "31129999");
    globals().D_DOK_REW = 0;  // no date: nothing printed
    f = step();
    EXPECT_TRUE(f.DP1.blank() && f.DP2.blank() && f.DP3.blank());
}

TEST_F(RecordStepTest, Fields107And109TakePointsUnlessTheFirstPartIsBlankOrZero) {
    struct Case {
        const char *a, *b, *c, *printed;
        bool dotted;
    };
    const Case cases[] = {
        {"МС", "03", "2005", "МС.03.2005", true}, {"0", "", "", "0         ", false},
        {"", "", "", "          ", false},        {"0", "03", "2005", "0  03 2005", false},
        {"01", "04", "2005", "01.04.2005", true}, {"КВ", "1", "05", "КВ.1 .05  ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printed);
        Globals& g = globals();
        g.G107_1 = c.a;
        g.G107_2 = c.b;
        g.G107_3 = c.c;
        g.G109_1 = c.a;
        g.G109_2 = c.b;
        g.G109_3 = c.c;
        const PrPlatFields f = step();
        EXPECT_EQ(cp1251ToUtf8(f.G107_D.raw()), c.printed);
        EXPECT_EQ(cp1251ToUtf8(f.G109_D.raw()), c.printed);
        const char* sep = c.dotted ? "." : " ";
        EXPECT_EQ(cp1251ToUtf8(f.G107_T.raw()), sep);
        EXPECT_EQ(cp1251ToUtf8(f.G109_T.raw()), sep);
    }
}

// The page's texts, each in its picture, at the index of its field on the form.
TEST_F(RecordStepTest, PageTextsAreWrittenInTheirPictures) {
    Globals& g = globals();
    g.N_D = "N";
    g.N_DOK_REW = "12345";
    g.MFO_A = 44525225;
    g.MFO_B_REW = 0;
    g.SORT_REW = 5;
    g.STRI_REW = "электронно";
    g.N_SC_A_REW = "40702810900000000001";
    g.G104 = "18210102010011000110";
    const report::PageValues page = prPlatPage(PrPlatFields{});
    ASSERT_EQ(page.size(), static_cast<std::size_t>(PF_COUNT));
    const auto& fields = paymentOrderLayout().detail.fields;
    ASSERT_EQ(fields.size(), page.size());
    auto at = [&](std::string_view name) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].name == name) return page[i];
        ADD_FAILURE() << "no field " << name;
        return std::string();
    };
    EXPECT_EQ(at("N_D"), "N");
    EXPECT_EQ(at("N_DOK_REW"), "12345     ");
    EXPECT_EQ(at("MFO_A"), "044525225");
    EXPECT_EQ(at("MFO_B_REW"), "000000000");
    EXPECT_EQ(at("SORT_REW"), " 5");
    EXPECT_EQ(at("STRI_REW"), "электронно");
    EXPECT_EQ(at("N_SC_A_REW"), "40702810900000000001");
    EXPECT_EQ(at("G104"), "18210102010011000110");
}

TEST_F(RecordStepTest, ABlankNumberSignPrintsNothing) {
    globals().N_D = "";
    EXPECT_EQ(Str<1>(prPlatPage(PrPlatFields{})[PF_N_D]).blank(), true);
    globals().N_D = "N";
    EXPECT_EQ(prPlatPage(PrPlatFields{})[PF_N_D], "N");
}

}  // namespace
}  // namespace pordex::print
