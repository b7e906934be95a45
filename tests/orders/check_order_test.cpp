#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

#include "orders/check_order.h"
#include "orders/memory_references.h"

namespace pordex {
namespace {

using test::MemoryReferences;

constexpr LONG kPayerBik = 41234567;       // credit institution, bank part "567"
constexpr LONG kRecipientBik = 44525225;   // credit institution, bank part "225"
constexpr LONG kRkcBik = 41234001;         // settlement centre (no correspondent account), "034"
constexpr LONG kClosedCorrBik = 45678567;  // its correspondent account is closed
constexpr LONG kLongCorrBik = 46000567;    // its directory account is longer than the field
constexpr LONG kNoNameBik = 47000567;      // in MCO, missing from BIK
constexpr LONG kUnknownBik = 999999567;    // in no file; same bank part as the payer's bank

constexpr const char* kPayerAccount = "40702810900000000012";
constexpr const char* kRecipientAccount = "40702810700000000077";

bool sameBytes(const RewRecord& a, const RewRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class CheckOrderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobals();
        refs.addMco(kPayerBik, "30101810400000000567");
        refs.addBik(kPayerBik, "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
        refs.addMco(kRecipientBik, "30101810400000000225");
        refs.addBik(kRecipientBik, "ПАО СБЕРБАНК г.Москва");
        refs.addMco(kRkcBik, "");
        refs.addBik(kRkcBik, "ОТДЕЛЕНИЕ 1 г.Москва");
        refs.addMco(kClosedCorrBik, "30101810000000000999");
        refs.addBik(kClosedCorrBik, "БАНК С ЗАКРЫТЫМ КОРСЧЕТОМ");
        refs.addKsz(kClosedCorrBik, "30101810000000000999", "30101810100000000111");
        refs.addMco(kLongCorrBik, "30101810400000000567 0001");
        refs.addBik(kLongCorrBik, "БАНК С ДЛИННЫМ КОРСЧЕТОМ");
        refs.addMco(kNoNameBik, "30101810500000000567");
        for (LONG bs2 : {40702, 40101, 40807, 40817}) refs.addBl2(bs2);
        refs.addKsz(kRecipientBik, "40702810400000000001", "40702810400000000002");

        rew.MFO_A = kPayerBik;
        rew.N_SC_A = kPayerAccount;
        rew.N_PLA = "ООО Плательщик";
        rew.MFO_B = kRecipientBik;
        rew.N_SC_B = kRecipientAccount;
        rew.INN_POL = "7701234567";
        rew.N_POL = "ООО Получатель";
        rew.SORT = 5;
        rew.NDS = "18";
        rew.SUMMA = 11800.00;
        rew.NAME = "Оплата по счету 17";
    }

    CheckResult run(CheckMode mode = CheckMode::Save) { return CheckOrder(rew, refs, mode); }

    MemoryReferences refs;
    RewRecord rew{};
};

TEST_F(CheckOrderTest, ACorrectOrderPassesAndIsCompleted) {
    rew.K_SC_B = "30101810000000000000";  // typed, and replaced by the directory's
    rew.N_BANK = "Мой банк";              // typed, and kept
    globals().ER = 1;

    const CheckResult r = run();
    EXPECT_TRUE(r.passed);
    EXPECT_TRUE(r.ran);
    EXPECT_EQ(r.message, "");
    EXPECT_TRUE(r.signal.empty());
    EXPECT_EQ(r.focus, "");
    EXPECT_FALSE(r.showOk);
    EXPECT_EQ(globals().ER, 0);

    EXPECT_EQ(rew.BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
    EXPECT_EQ(rew.K_SC_A.utf8(), "30101810400000000567");
    EXPECT_EQ(rew.N_BANK.utf8(), "Мой банк");
    EXPECT_EQ(rew.K_SC_B.utf8(), "30101810400000000225");
    EXPECT_EQ(rew.N_SC_B.utf8(), kRecipientAccount);
    EXPECT_EQ(rew.NAME.utf8(), "Оплата по счету 17 в т.ч. НДС 18%=1800.00");
}

TEST_F(CheckOrderTest, ConfirmModeOffersOkAfterAPass) {
    const CheckResult r = run(CheckMode::Confirm);
    EXPECT_TRUE(r.passed);
    EXPECT_TRUE(r.showOk);
    EXPECT_EQ(r.message, "Нажмите ОК для записи в базу");

    rew.SORT = 9;
    const CheckResult failed = run(CheckMode::Confirm);
    EXPECT_FALSE(failed.passed);
    EXPECT_FALSE(failed.showOk);
    EXPECT_EQ(failed.message, "Ошибка в приоритете???");
}

struct FailCase {
    const char* name;
    std::function<void(RewRecord&)> edit;
    const char* message;
    std::vector<Beep> signal;
    const char* focus;
};

void PrintTo(const FailCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckOrderFailures : public CheckOrderTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(CheckOrderFailures, MessageSignalAndFocus) {
    const FailCase& c = GetParam();
    c.edit(rew);
    for (CheckMode mode : {CheckMode::Save, CheckMode::Confirm}) {
        RewRecord before = rew;
        const CheckResult r = run(mode);
        EXPECT_FALSE(r.passed);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.signal, c.signal);
        EXPECT_EQ(r.focus, c.focus);
        EXPECT_FALSE(r.showOk);
        EXPECT_EQ(globals().ER, 1);
        if (mode == CheckMode::Confirm) {
            EXPECT_TRUE(sameBytes(before, rew)) << "second run changed";
        }
    }
}

void setText(Str<20>& f, const char* utf8) {
    f = utf8;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CheckOrderFailures,
    ::testing::Values(
        FailCase{"PayerKeyRightOnlyAtRkc",
                 [](RewRecord& r) { setText(r.N_SC_A, "40101810800000010001"); },
                 "Некорр.счет плательщ.(по ключу)", beeps::lowBeep, "?REW:N_SC_A"},
        FailCase{"PayerAccountNotANumber",
                 [](RewRecord& r) { setText(r.N_SC_A, "4070281090000000001Б"); },
                 "Некорр.счет плательщ.(по ключу)", beeps::lowBeep, "?REW:N_SC_A"},
        FailCase{"PayerBikUnknown", [](RewRecord& r) { r.MFO_A = kUnknownBik; },
                 "Ошибочный код БИК ???", beeps::threeTone, "?REW:MFO_A"},
        FailCase{"PayerCorrClosed", [](RewRecord& r) { r.MFO_A = kClosedCorrBik; },
                 "Этот корсчет банка закрыт???", beeps::threeTone, "?REW:K_SC_A"},
        FailCase{"PayerCorrLongerThanField", [](RewRecord& r) { r.MFO_A = kLongCorrBik; },
                 "Такого корсчета нет в базе???", beeps::threeTone, "?REW:MFO_A"},
        FailCase{"RecipientBikUnknown", [](RewRecord& r) { r.MFO_B = 999999225; },
                 "Ошибочный код БИК ???", beeps::threeTone, "?REW:MFO_B"},
        FailCase{"RecipientBikZero", [](RewRecord& r) { r.MFO_B = 0; }, "Ошибочный код БИК ???",
                 beeps::threeTone, "?REW:MFO_B"},
        FailCase{"RecipientCorrClosed", [](RewRecord& r) { r.MFO_B = kClosedCorrBik; },
                 "Этот корсчет банка закрыт???", beeps::threeTone, "?REW:K_SC_B"},
        FailCase{"RecipientCorrLongerThanField", [](RewRecord& r) { r.MFO_B = kLongCorrBik; },
                 "Такого корсчета нет в базе???", beeps::threeTone, "?REW:MFO_B"},
        FailCase{"BalanceAccountNotPermitted",
                 [](RewRecord& r) { setText(r.N_SC_B, "30232810400000000077"); },
                 "Недопустимый бал.сч. 2 пор.", beeps::lowBeep, "?REW:N_SC_B"},
        FailCase{"BalanceAccountNotANumber",
                 [](RewRecord& r) { setText(r.N_SC_B, "4O702810700000000077"); },
                 "Недопустимый бал.сч. 2 пор.", beeps::lowBeep, "?REW:N_SC_B"},
        FailCase{"RecipientAccountClosed",
                 [](RewRecord& r) { setText(r.N_SC_B, "40702810400000000001"); },
                 "Этот л.с. в этом банке закрыт?", beeps::threeTone, "?REW:N_SC_B"},
        FailCase{"RecipientKeyWrong",
                 [](RewRecord& r) { setText(r.N_SC_B, "40702810800000000077"); },
                 "Некорр.счет п/плат.(по ключу)", beeps::lowBeep, "?REW:N_SC_B"},
        FailCase{"RecipientKeyRightOnlyAtRkc",
                 [](RewRecord& r) { setText(r.N_SC_B, "40101810800000010001"); },
                 "Некорр.счет п/плат.(по ключу)", beeps::lowBeep, "?REW:N_SC_B"},
        FailCase{"PriorityBeyondSix", [](RewRecord& r) { r.SORT = 7; }, "Ошибка в приоритете???",
                 beeps::shortThreeTone, "?REW:SORT"},
        FailCase{"PriorityLargest", [](RewRecord& r) { r.SORT = 255; }, "Ошибка в приоритете???",
                 beeps::shortThreeTone, "?REW:SORT"},
        FailCase{"VatRateLetters", [](RewRecord& r) { r.NDS = "аб"; }, "",
                 beeps::shortThreeTone, "?REW:NDS"},
        FailCase{"VatRateMinusAlone", [](RewRecord& r) { r.NDS = "- "; }, "",
                 beeps::shortThreeTone, "?REW:NDS"},
        FailCase{"VatRateMinusAfter", [](RewRecord& r) { r.NDS = "1-"; }, "",
                 beeps::shortThreeTone, "?REW:NDS"},
        FailCase{"VatRateNegative", [](RewRecord& r) { r.NDS = "-5"; }, "",
                 beeps::shortThreeTone, "?REW:NDS"},
        FailCase{"NoRecipientAccount", [](RewRecord& r) { r.N_SC_B.clear(); }, "",
                 beeps::highBeep, "?REW:N_SC_B"},
        FailCase{"NoPriority", [](RewRecord& r) { r.SORT = 0; }, "", beeps::highBeep,
                 "?REW:SORT"},
        FailCase{"NoAmount", [](RewRecord& r) { r.SUMMA = 0; }, "", beeps::highBeep,
                 "?REW:SUMMA"},
        FailCase{"AmountNotFinite",
                 [](RewRecord& r) { r.SUMMA = std::numeric_limits<double>::quiet_NaN(); }, "",
                 beeps::highBeep, "?REW:SUMMA"},
        FailCase{"NoPurpose", [](RewRecord& r) { r.NAME.clear(); }, "", beeps::highBeep,
                 "?REW:NAME"},
        FailCase{"NonResidentPayer",
                 [](RewRecord& r) { setText(r.N_SC_A, "40807810300000000012"); },
                 "Нет VO.Платеж с участием нерезидента!", std::vector<Beep>{}, "?REW:NAME"},
        FailCase{"NonResidentRecipient",
                 [](RewRecord& r) { setText(r.N_SC_B, "40807810100000000077"); },
                 "Нет VO.Платеж с участием нерезидента!", std::vector<Beep>{}, "?REW:NAME"},
        FailCase{"KbkPenaltyWithTaxDigit",
                 [](RewRecord& r) {
                     r.P110 = "ПЕ";
                     r.P104 = "18210102010011000110";
                 },
                 "Нет соответствия 14-го разряда КБК", std::vector<Beep>{}, "?REW:P104"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckOrderTest, RequiredFieldsAreTestedInTheirOrder) {
    rew.N_SC_B.clear();
    rew.INN_POL.clear();
    rew.N_POL.clear();
    rew.SORT = 0;
    rew.NDS.clear();
    rew.SUMMA = 0;
    rew.NAME.clear();
    const std::vector<std::pair<const char*, std::function<void()>>> order = {
        {"?REW:N_SC_B", [&] { rew.N_SC_B = kRecipientAccount; }},
        {"?REW:INN_POL", [&] { rew.INN_POL = "7701234567"; }},
        {"?REW:N_POL", [&] { rew.N_POL = "ООО Получатель"; }},
        {"?REW:SORT", [&] { rew.SORT = 1; }},
        {"?REW:NDS", [&] { rew.NDS = "-1"; }},
        {"?REW:SUMMA", [&] { rew.SUMMA = -5.00; }},  // a negative amount is an amount
        {"?REW:NAME", [&] { rew.NAME = "Возврат"; }},
    };
    for (const auto& [focus, fill] : order) {
        const CheckResult r = run();
        EXPECT_FALSE(r.passed);
        EXPECT_EQ(r.focus, focus);
        EXPECT_EQ(r.message, "");
        EXPECT_EQ(r.signal, beeps::highBeep);
        EXPECT_EQ(rew.NAME.utf8(), "") << "no purpose edits before the required fields pass";
        fill();
    }
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.NAME.utf8(), "Возврат");
}

TEST_F(CheckOrderTest, BankCompletion) {
    // An empty name is filled in; the typed correspondent account is replaced.
    rew.K_SC_A = "30101810400000000999";
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
    EXPECT_EQ(rew.K_SC_A.utf8(), "30101810400000000567");

    // A BIK in MCO but missing from BIK is no failure: the name shows question marks.
    rew.MFO_A = kNoNameBik;
    rew.BANK_PLA = "Банк, набранный вручную";
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.BANK_PLA.utf8(), "???????????????");
    EXPECT_EQ(rew.K_SC_A.utf8(), "30101810500000000567");

    // Once the BIK is right, the question marks give way to the bank's name.
    rew.MFO_A = kPayerBik;
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
}

TEST_F(CheckOrderTest, SettlementCentreRecipient) {
    rew.MFO_B = kRkcBik;
    rew.N_SC_B = "40101810800000010001";
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.K_SC_B.utf8(), "") << "the directory's empty account replaces the typed one";
    EXPECT_EQ(rew.N_BANK.utf8(), "ОТДЕЛЕНИЕ 1 г.Москва");

    rew.N_SC_B = kRecipientAccount;  // right for a credit institution with the same BIK only
    rew.MFO_B = kRkcBik;
    EXPECT_EQ(run().message, "Некорр.счет п/плат.(по ключу)");
}

TEST_F(CheckOrderTest, ClosedCorrespondentAccountRules) {
    // Closed, but for another bank: passes.
    refs.addKsz(1111, "30101810400000000567", "30101810400000000999");
    // Listed with itself as the replacement: not closed.
    refs.addKsz(kRecipientBik, "30101810400000000225", "30101810400000000225");
    EXPECT_TRUE(run().passed);
}

TEST_F(CheckOrderTest, RecipientAccountIsRewrittenRightAligned) {
    const struct {
        const char* typed;
        const char* stored;
        bool passes;
    } cases[] = {
        {kRecipientAccount, kRecipientAccount, true},
        {"407028107", "           407028107", false},
        {"  407028107  ", "           407028107", false},
        {"0407028107", "           407028107", false},
        // Kept as typed: not a number, refused by the key test.
        {"40702810700000 00077", "40702810700000 00077", false},
    };
    refs.addBl2(4070);  // so that the account with a leading zero reaches the rewrite
    for (const auto& c : cases) {
        rew.N_SC_B = c.typed;
        const CheckResult r = run();
        EXPECT_EQ(rew.N_SC_B.utf8(), c.stored) << c.typed;
        EXPECT_EQ(r.passed, c.passes) << c.typed;
        if (!c.passes) {
            EXPECT_EQ(r.focus, "?REW:N_SC_B");
        }
    }
}

TEST_F(CheckOrderTest, CompletionsStayAfterALaterFailure) {
    rew.INN_POL.clear();  // fails at the required fields
    EXPECT_FALSE(run().passed);
    EXPECT_EQ(rew.BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
    EXPECT_EQ(rew.K_SC_A.utf8(), "30101810400000000567");
    EXPECT_EQ(rew.N_BANK.utf8(), "ПАО СБЕРБАНК г.Москва");
    EXPECT_EQ(rew.K_SC_B.utf8(), "30101810400000000225");
    EXPECT_EQ(rew.NAME.utf8(), "Оплата по счету 17") << "the purpose is edited after that step";

    // The recipient's bank fails: the payer's side is already complete.
    rew = RewRecord{};
    SetUp();
    rew.MFO_B = 999999225;
    EXPECT_FALSE(run().passed);
    EXPECT_EQ(rew.BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
    EXPECT_EQ(rew.N_BANK.utf8(), "");

    // The KBK fails last: VAT phrase and VO prefix are in the purpose.
    rew = RewRecord{};
    SetUp();
    rew.P110 = "СА";
    rew.P104 = "18211603010011000140";
    globals().KNN1 = 20100;
    EXPECT_EQ(run().focus, "?REW:P104");
    EXPECT_EQ(rew.NAME.utf8(), "{VO20100} Оплата по счету 17 в т.ч. НДС 18%=1800.00");
    EXPECT_EQ(globals().KNN1, 0);
}

TEST_F(CheckOrderTest, VatRateMinusOne) {
    rew.NDS = "-1";
    rew.NAME = std::string(180, 'A') + " в т.ч. НДС 18%=1800.00";
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.NAME.utf8(), std::string(180, 'A'));
}

TEST_F(CheckOrderTest, VoCodeIsTakenOnce) {
    rew.N_SC_A = "40807810300000000012";  // a non-resident needs the VO code
    rew.NAME = "{VO10100} Оплата";
    globals().KNN1 = 20100;
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.NAME.utf8(), "{VO20100} Оплата в т.ч. НДС 18%=1800.00");
    EXPECT_EQ(globals().KNN1, 0);
    EXPECT_TRUE(run().passed);
    EXPECT_EQ(rew.NAME.utf8(), "{VO20100} Оплата в т.ч. НДС 18%=1800.00");
}

TEST_F(CheckOrderTest, KbkDigit14) {
    const struct {
        const char* p110;
        char digit;
        bool passes;
    } cases[] = {
        {"НС", '1', true}, {"АВ", '1', true},  {"ПЛ", '1', true},  {"ВЗ", '1', true},
        {"ГП", '1', true}, {"НС", '2', false}, {"ГП", '3', false}, {"СА", '3', true},
        {"АШ", '3', true}, {"ИШ", '3', true},  {"ИШ", '1', false}, {"ПЕ", '2', true},
        {"ПЦ", '2', true}, {"ПЕ", '1', false}, {"ПЦ", ' ', false}, {"00", '9', true},
        {"", '9', true},   {"ТП", '9', true},  {"нс", '9', true},
    };
    for (const auto& c : cases) {
        rew.P110 = c.p110;
        rew.P104 = "1821010201001";
        rew.P104[13] = c.digit;
        const CheckResult r = run();
        EXPECT_EQ(r.passed, c.passes) << c.p110 << " " << c.digit;
        if (!c.passes) {
            EXPECT_EQ(r.message, "Нет соответствия 14-го разряда КБК");
        }
    }
}

TEST_F(CheckOrderTest, NothingRunsWhileDeletingOrWithControlOff) {
    rew.NAME = "Оплата";
    rew.SORT = 9;
    globals().KNN1 = 20100;
    globals().ER = 1;
    const RewRecord before = rew;
    // 0: deleting; 1: control switched off; 2: control switched off while deleting.
    for (int which : {0, 1, 2}) {
        globals().PRI_DEL = which != 1;
        globals().KONTR = which != 0;
        for (CheckMode mode : {CheckMode::Save, CheckMode::Confirm}) {
            const CheckResult r = run(mode);
            EXPECT_TRUE(r.passed);
            EXPECT_FALSE(r.ran);
            EXPECT_TRUE(r.signal.empty());
            EXPECT_TRUE(sameBytes(before, rew));
            EXPECT_EQ(globals().ER, 1);
            EXPECT_EQ(globals().KNN1, 20100);
            EXPECT_EQ(r.showOk, mode == CheckMode::Confirm);
            const bool prompt = mode == CheckMode::Confirm && which != 0;
            EXPECT_EQ(r.message, prompt ? "Нажмите ОК для записи в базу" : "");
        }
    }
    EXPECT_EQ(refs.fetches, 0);
}

TEST_F(CheckOrderTest, ASecondRunLeavesTheBufferAsTheFirstLeftIt) {
    const std::vector<std::function<void(RewRecord&)>> orders = {
        [](RewRecord&) {},
        [](RewRecord& r) { r.NAME = "в т.ч. НДС 18% за услуги связи"; },
        [](RewRecord& r) { r.NAME = std::string(200, 'A'); },
        [](RewRecord& r) { r.NDS = "0"; },
        [](RewRecord& r) { r.N_SC_B = "407028107"; },
        [](RewRecord& r) { r.MFO_A = kNoNameBik; },
        [](RewRecord& r) { r.P110 = "ПЕ"; },
        [](RewRecord& r) {
            r.NAME = "{VO1010}" + std::string(205, 'B');
            globals().KNN1 = 1010;
        },
        [](RewRecord& r) {
            r.NAME = "в т.ч. НДС " + std::string(195, 'C');
            globals().KNN1 = 99090;
            r.SUMMA = 999999999999.99;
        },
    };
    for (std::size_t i = 0; i < orders.size(); ++i) {
        SetUp();
        orders[i](rew);
        const CheckResult first = run();
        const RewRecord once = rew;
        const CheckResult second = run();
        EXPECT_TRUE(sameBytes(once, rew)) << "order " << i << ": " << rew.NAME.utf8();
        EXPECT_EQ(first.passed, second.passed) << "order " << i;
        EXPECT_EQ(first.focus, second.focus) << "order " << i;
    }
}

}  // namespace
}  // namespace pordex
