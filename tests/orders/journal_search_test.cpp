#include "orders/journal_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/file_layouts.h"
#include "orders/journal_state.h"
#include "platform/files/record_file.h"
#include "platform/runtime/codec.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

std::string cp(std::string_view utf8) {
    return utf8ToCp1251(utf8);
}

RewRecord sample() {
    RewRecord r;
    r.N_PLA = "ООО «Торг-Сервис»";
    r.BANK_PLA = "ПАО Сбербанк г. Москва";
    r.N_POL = "Trade House Vostok";
    r.NAME = "Оплата по счету 15 за бумагу";
    return r;
}

// Which entry looks in which field, case, blanks, and how fragments combine.
TEST(JournalSearch, EachTextLooksInItsOwnFieldFoldedAndTheyCombineWithAnd) {
    const RewRecord r = sample();
    const struct {
        const char* payer;
        const char* bank;
        const char* recipient;
        const char* purpose;
        bool passes;
    } cases[] = {
        {"", "", "", "", true},
        {"                                                  ", "", "", "", true},
        {"торг", "", "", "", true},  // Cyrillic folded
        {"ТОРГ-СЕРВИС", "", "", "", true},
        {"", "сбербанк", "", "", true},     // payer's bank
        {"", "", "trade house", "", true},  // Latin folded
        {"", "", "", "ЗА БУМАГУ", true},    // purpose
        {"сбербанк", "", "", "", false},    // the bank's name is not the payer's
        {"", "торг", "", "", false},
        {"", "", "оплата", "", false},
        {"", "", "", "vostok", false},
        {"торг", "", "vostok", "", true},  // two together: both must be found
        {"торг", "", "нет", "", false},
        {"нет", "", "vostok", "", false},
        {"торг", "москва", "house", "счету 15", true},
        {"торг", "москва", "house", "счету 16", false},
        {"торг   ", "", "", "", true},  // trailing blanks do not count
        {" торг", "", "", "", false},   // a leading blank does: «Торг» opens the quote
        {" «торг", "", "", "", true},
        {"", "", " house", "", true},
        {"", "", " trade", "", false},                  // nothing before "Trade"
        {"ооо «торг-сервис» и ко", "", "", "", false},  // longer than the name
    };
    for (const auto& c : cases) {
        const JournalSearch s(cp(c.payer), cp(c.bank), cp(c.recipient), cp(c.purpose));
        EXPECT_EQ(s.accepts(r), c.passes) << '"' << c.payer << "\" \"" << c.bank << "\" \""
                                          << c.recipient << "\" \"" << c.purpose << '"';
        // The filter handed to the record-file layer is the same test.
        const auto f = s.filter();
        EXPECT_EQ(!f || f(reinterpret_cast<const std::byte*>(&r)), c.passes);
    }
}

TEST(JournalSearch, TakesTheProcessWideTextsAndTheResetBlanksAllFour) {
    Globals g;
    g.NAME_P = "торг";
    g.NAME_POL = "vostok";
    const RewRecord r = sample();
    EXPECT_TRUE(JournalSearch::fromGlobals(g).accepts(r));
    g.NAME_N = "нет такого";
    EXPECT_FALSE(JournalSearch::fromGlobals(g).accepts(r));
    g.NAME_BNP = "сбер";
    clearSearchTexts(g);
    EXPECT_TRUE(g.NAME_P.blank() && g.NAME_BNP.blank() && g.NAME_POL.blank() && g.NAME_N.blank());
    EXPECT_TRUE(JournalSearch::fromGlobals(g).empty());
    EXPECT_FALSE(JournalSearch::fromGlobals(g).filter());
}

// The journal's reading of REW: newest date first, one date by number descending (as text),
// orders outside the key (DDD = 0) never listed; the search applied by the store.
class JournalReading : public ::testing::Test {
  protected:
    struct Order {
        LONG date;
        const char* number;
        const char* payer;
    };

    void SetUp() override {
        ASSERT_TRUE(file.open());
        const Order orders[] = {
            {80000, "5", "ООО Альфа"}, {80002, "1", "ООО ТОРГ"},      {80001, "12", "ИП Бета"},
            {80002, "9", "ООО Альфа"}, {80002, "10", "ЗАО торговля"}, {99999, "7", "ООО ТОРГ"},
            {80001, "3", "ООО Торг"},  {80001, "2", "ТОРГСНАБ"},      {80000, "5", "ИП Гамма"},
        };
        for (const Order& o : orders) {
            RewRecord r;
            r.D_DOK = o.date;
            r.DDD = 99999 - o.date;
            r.N_DOK = o.number;
            r.N_PLA = o.payer;
            ASSERT_TRUE(file.insert(&r));
        }
    }

    std::vector<std::string> list(const JournalSearch& s,
                                  files::Direction d = files::Direction::Forward) {
        std::vector<files::Row> rows;
        EXPECT_TRUE(file.read(
            journalOrder(),
            d == files::Direction::Forward ? files::Position::first() : files::Position::last(), d,
            100, rows, s.filter()));
        std::vector<std::string> out;
        for (const files::Row& row : rows) {
            RewRecord r;
            std::memcpy(static_cast<void*>(&r), row.bytes.data(), sizeof r);
            out.push_back(std::to_string(r.D_DOK) + "/" + r.N_DOK.utf8() + " " + r.N_PLA.utf8());
        }
        return out;
    }

    test::TempWorkdir dir;
    files::RecordFile file{rewFile()};
};

TEST_F(JournalReading, NewestFirstNumbersDescendingUndatedLeftOut) {
    const std::vector<std::string> all = {
        "80002/9 ООО Альфа", "80002/10 ЗАО торговля", "80002/1 ООО ТОРГ",  "80001/3 ООО Торг",
        "80001/2 ТОРГСНАБ",  "80001/12 ИП Бета",      "80000/5 ООО Альфа",
        "80000/5 ИП Гамма",  // equal date and number: in the order they were added
    };
    EXPECT_EQ(list(JournalSearch()), all);
    EXPECT_EQ(list(JournalSearch(), files::Direction::Backward),
              std::vector<std::string>(all.rbegin(), all.rend()));
    // The undated order (DDD = 0) matches the search but is still not listed.
    EXPECT_EQ(list(JournalSearch(cp("торг"), "", "", "")),
              (std::vector<std::string>{"80002/10 ЗАО торговля", "80002/1 ООО ТОРГ",
                                        "80001/3 ООО Торг", "80001/2 ТОРГСНАБ"}));
    EXPECT_EQ(list(JournalSearch(cp(" торг"), "", "", "")),
              (std::vector<std::string>{"80002/10 ЗАО торговля", "80002/1 ООО ТОРГ",
                                        "80001/3 ООО Торг"}));
    EXPECT_TRUE(list(JournalSearch(cp("омега"), "", "", "")).empty());
}

TEST(JournalSteps, DeleteFlagAndRecipientAroundTheForm) {
    Globals g;
    journal::beforeDelete(g);
    EXPECT_EQ(g.PRI_DEL, 1);
    EXPECT_GT(journal::reset(g), 0);
    EXPECT_EQ(g.PRI_DEL, 0);
    g.PRI_DEL = 1;
    journal::opened(g);
    EXPECT_EQ(g.PRI_DEL, 0);
    g.K_POL = 17;
    journal::beforeInsert(g);
    EXPECT_EQ(g.K_POL, 0);
}

}  // namespace
}  // namespace pordex
