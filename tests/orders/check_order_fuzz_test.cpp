#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "orders/account_key.h"
#include "orders/check_order.h"
#include "orders/memory_references.h"
#include "platform/runtime/codec.h"

namespace pordex {
namespace {

// Random orders and reference files, built from random bytes and from the pieces the checks
// look for, so that runs reach every step: the chain must never read or write outside the
// record, must touch only the fields it completes, and must leave a buffer that a second run
// does not change.
class Generator {
  public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int below(int n) { return int(rng_() % unsigned(n)); }
    bool chance(int percent) { return below(100) < percent; }

    std::string bytes(std::size_t n) {
        std::string s(n, ' ');
        for (char& c : s) c = char(rng_());
        return s;
    }
    std::string digits(std::size_t n) {
        std::string s(n, '0');
        for (char& c : s) c = char('0' + below(10));
        return s;
    }

    LONG bik() { return chance(70) ? biks_[std::size_t(below(int(biks_.size())))] : LONG(rng_()); }

    std::string account() {
        switch (below(6)) {
            case 0:
                return bytes(std::size_t(below(21)));
            case 1:
                return std::string(std::size_t(below(4)), ' ') + digits(std::size_t(below(21)));
            case 2:
                return "40807" + digits(15);
            case 3:
                return std::string(prefixes_[std::size_t(below(4))]) + digits(15);
            case 4:
                return "";
            default:
                return digits(20);
        }
    }

    std::string purpose() {
        static const std::vector<std::string> pieces = {utf8ToCp1251("в т.ч. НДС"),
                                                        utf8ToCp1251(".НДС не"),
                                                        utf8ToCp1251(" облагается."),
                                                        utf8ToCp1251("Оплата по счету "),
                                                        "{VO",
                                                        "{VO12345}",
                                                        "{VO1010} ",
                                                        "}",
                                                        " ",
                                                        "  ",
                                                        "18%=1800.00",
                                                        "A",
                                                        std::string(60, 'B')};
        std::string s;
        const int n = below(12);
        for (int i = 0; i < n; ++i)
            s += chance(80) ? pieces[std::size_t(below(int(pieces.size())))] : bytes(3);
        return s;
    }

    std::string rate() {
        static const char* rates[] = {"18", "20", "-1", "0 ", "00", " 0", " 5",
                                      "5 ", "-0", "-5", "99", "  ", "ab", "- "};
        return chance(85) ? rates[below(14)] : bytes(2);
    }

    REAL amount() {
        switch (below(5)) {
            case 0: {
                REAL r;
                const std::string b = bytes(sizeof r);
                std::memcpy(&r, b.data(), sizeof r);
                return r;
            }
            case 1:
                return 0;
            case 2:
                return REAL(below(100000000)) / 100 * (chance(20) ? -1 : 1);
            case 3:
                return 9999999999999.99;
            default:
                return 11800;
        }
    }

    // An account whose control key fits the bank (the checks reach the steps after the key test).
    std::string keyed(LONG bik, BankPart part) {
        std::string a = std::string(prefixes_[std::size_t(below(4))]) + digits(15);
        if (chance(20)) a.replace(0, 5, "40807");
        for (char d = '0'; d <= '9'; ++d) {
            a[8] = d;
            if (accountKeyValid(bik, a, part)) break;
        }
        return a;
    }

    RewRecord order() {
        RewRecord r;
        const std::string raw = bytes(sizeof r);
        std::memcpy(&r, raw.data(), sizeof r);
        r.MFO_A = bik();
        r.MFO_B = bik();
        if (chance(90))
            r.N_SC_A.assignRaw(chance(70) ? keyed(r.MFO_A, BankPart::CreditInstitution)
                                          : account());
        if (chance(90)) {
            const BankPart part =
                chance(50) ? BankPart::CreditInstitution : BankPart::SettlementCentre;
            r.N_SC_B.assignRaw(chance(70) ? keyed(r.MFO_B, part) : account());
        }
        if (chance(50)) r.BANK_PLA.clear();
        if (chance(50)) r.N_BANK.clear();
        if (chance(80)) r.INN_POL.assignRaw(chance(95) ? digits(10) : "");
        if (chance(80)) r.N_POL.assignRaw(chance(95) ? "N" : "");
        if (chance(5)) r.N_SC_B.assignRaw(closed_[std::size_t(below(int(closed_.size())))]);
        if (chance(80)) r.SORT = BYTE(below(8));
        r.NDS.assignRaw(rate());
        r.SUMMA = amount();
        if (chance(90)) r.NAME.assignRaw(purpose());
        if (chance(50)) r.P110 = chance(50) ? "ПЕ" : "НС";
        return r;
    }

    void references(test::MemoryReferences& refs) {
        biks_.clear();
        for (int i = 0; i < 8; ++i) biks_.push_back(LONG(rng_() % 1000000000u));
        biks_.push_back(0);
        for (LONG b : biks_) {
            const int kind = below(5);
            McoRecord mco;
            mco.MFO = b;
            mco.KS.assignRaw(kind == 0   ? ""
                             : kind == 1 ? "30101810" + digits(12) + "00001"
                             : kind == 2 ? bytes(25)
                                         : "30101810" + digits(12));
            if (chance(85)) refs.addMco(mco);
            BikRecord bik;
            bik.KS.clear();
            bik.MFORKC = 0;
            bik.MFO9 = b;
            bik.NAME.assignRaw(chance(20) ? "" : bytes(80));
            if (chance(80)) refs.addBik(bik);
            if (chance(40)) {
                KszRecord ksz;
                ksz.MFO = chance(70) ? b : LONG(rng_());
                ksz.KS.assignRaw(mco.KS.raw());
                ksz.MFO_N = 0;
                ksz.KS_N.assignRaw(chance(20) ? std::string(mco.KS.raw()) : digits(20));
                refs.addKsz(ksz);
            }
        }
        closed_.clear();
        for (int i = 0; i < 3; ++i) {
            closed_.push_back(std::string(prefixes_[std::size_t(below(4))]) + digits(15));
            KszRecord ksz;
            ksz.MFO = LONG(rng_());
            ksz.KS.assignRaw(closed_.back());
            ksz.MFO_N = 0;
            refs.addKsz(ksz);
        }
        for (const char* p : prefixes_) refs.addBl2(std::stoi(p));
        refs.addBl2(40807);
    }

  private:
    std::mt19937 rng_;
    std::vector<LONG> biks_;
    std::vector<std::string> closed_;
    const char* prefixes_[4] = {"40702", "40101", "40817", "30232"};
};

// The record between guards, so a write past either end shows.
struct Guarded {
    char before[32];
    RewRecord rew;
    char after[32];
};

// The fields the chain may change: bank names, correspondent accounts, recipient's account,
// purpose.
RewRecord withChangeableFieldsFrom(RewRecord base, const RewRecord& from) {
    base.BANK_PLA = from.BANK_PLA;
    base.K_SC_A = from.K_SC_A;
    base.N_BANK = from.N_BANK;
    base.K_SC_B = from.K_SC_B;
    base.N_SC_B = from.N_SC_B;
    base.NAME = from.NAME;
    return base;
}

bool sameBytes(const RewRecord& a, const RewRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(CheckOrderFuzz, RandomOrdersNeverBreakTheRecord) {
    const std::set<std::string> foci = {"?REW:N_SC_A", "?REW:MFO_A",  "?REW:K_SC_A",  "?REW:MFO_B",
                                        "?REW:K_SC_B", "?REW:N_SC_B", "?REW:INN_POL", "?REW:N_POL",
                                        "?REW:SORT",   "?REW:NDS",    "?REW:SUMMA",   "?REW:NAME",
                                        "?REW:P104"};
    Generator gen(20240611);
    test::MemoryReferences refs;
    std::set<std::string> reached;
    int passed = 0;
    for (int i = 0; i < 20000; ++i) {
        if (i % 50 == 0) {
            refs = test::MemoryReferences{};
            gen.references(refs);
        }
        resetGlobals();
        globals().KNN1 = gen.chance(30) ? LONG(gen.below(200000)) - 50000 : 0;

        Guarded g;
        std::memset(static_cast<void*>(&g), 0x5A, sizeof g);
        g.rew = gen.order();
        const RewRecord input = g.rew;

        const CheckResult r = CheckOrder(g.rew, refs, CheckMode::Confirm);
        SCOPED_TRACE("record " + std::to_string(i));
        for (char c : g.before) ASSERT_EQ(c, 0x5A);
        for (char c : g.after) ASSERT_EQ(c, 0x5A);
        ASSERT_TRUE(sameBytes(withChangeableFieldsFrom(input, g.rew), g.rew));
        ASSERT_EQ(globals().ER, r.passed ? 0 : 1);
        ASSERT_LE(utf8ToCp1251(r.message).size(), 50u);
        if (r.passed) {
            ++passed;
        } else {
            ASSERT_EQ(foci.count(r.focus), 1u) << r.focus;
            reached.insert(r.focus + " " + r.message);
        }

        const RewRecord once = g.rew;
        CheckOrder(g.rew, refs, CheckMode::Save);
        ASSERT_TRUE(sameBytes(once, g.rew)) << "second run changed the order:\n"
                                            << once.NAME.utf8() << "\n"
                                            << g.rew.NAME.utf8();
    }
    // The generator reaches every step.
    EXPECT_GT(passed, 20);
    EXPECT_EQ(reached.size(), 20u);
}

}  // namespace
}  // namespace pordex
