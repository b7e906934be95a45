#include "orders/update_rew_logic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/window_thread.h"
#include "orders/dictionary_references.h"
#include "orders_ui/update_rew_fixture.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

using test::journal;
using test::payer;
using test::readRecords;
using test::recipient;
using test::storeRecords;

class UpdateRewLogicTest : public ::testing::Test {
  protected:
    void SetUp() override { resetGlobals(); }
    void TearDown() override {
        if (form_) form_->close();
        resetGlobals();
    }

    // The form opened as the journal opens it: a new order primed, or for a change or deletion
    // the thread's current REW record.
    UpdateRewLogic& open(BYTE request) {
        form_ = std::make_unique<UpdateRewLogic>(thread_.dct, request);
        form_->open();
        if (request == UpdateRewLogic::Insert) thread_.dct.Access.REW.prime();
        return *form_;
    }
    UpdateRewLogic& openOn(BYTE request, int fileOrder) {
        thread_.dct.Relate.REW.open();
        auto& rew = thread_.dct.Access.REW;
        rew.set(FILE_ORDER);
        for (int i = 0; i <= fileOrder; ++i) EXPECT_TRUE(rew.next());
        UpdateRewLogic& f = open(request);
        thread_.dct.Relate.REW.close();
        return f;
    }

    RewRecord& rew() { return thread_.dct.REW; }
    Globals& g() { return globals(); }

    test::TempWorkdir dir_;
    test::KeptMessages messages_;
    WindowThread thread_;
    std::unique_ptr<UpdateRewLogic> form_;
};

TEST_F(UpdateRewLogicTest, TitleFollowsTheRequest) {
    EXPECT_EQ(UpdateRewLogic(thread_.dct, 1).title(), "Добавить???");
    EXPECT_EQ(UpdateRewLogic(thread_.dct, 2).title(), "Изменить???");
    EXPECT_EQ(UpdateRewLogic(thread_.dct, 3).title(), "Удалить???");
}

TEST_F(UpdateRewLogicTest, NewOrderIsPrimedMarkedAndNumberedAfterTheRecords) {
    storeRecords(journal(11));
    rew().N_SC_A = "stale";  // what a previous window left in the buffer
    rew().SUMMA = 5;
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    f.reset();
    f.opened();
    EXPECT_EQ(rew().N_DOK.raw(), "12   ");
    EXPECT_EQ(rew().N_D.raw(), "N");
    EXPECT_TRUE(rew().N_SC_A.blank());
    EXPECT_EQ(+rew().SUMMA, 0.0);
    EXPECT_EQ(+rew().D_DOK, 0);  // no date is primed
    EXPECT_FALSE(f.okVisible);
    EXPECT_TRUE(f.MES_REW.blank());
}

TEST_F(UpdateRewLogicTest, ResetKeepsANumberAndMarkAlreadyThere) {
    storeRecords(journal(3));
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_DOK = "77";
    rew().N_D = "";
    f.reset();
    EXPECT_EQ(rew().N_DOK.raw(), "77   ");
    EXPECT_EQ(rew().N_D.raw(), "N");  // an emptied mark comes back
}

TEST_F(UpdateRewLogicTest, ChosenPayerIsCopiedWithKppAndOkatoOnlyForTaxPayments) {
    storeRecords(std::vector{payer(1, "40702810000000000001"),
                             payer(2, "40702810900000000012", "ООО Ландыш", "771001001", "4528")});
    struct Case {
        const char* status101;
        const char* kpp;
        const char* okato;
    };
    for (const Case c : {Case{"", "", ""}, Case{"01", "771001001", "4528"}}) {
        SCOPED_TRACE(c.status101);
        UpdateRewLogic f(thread_.dct, UpdateRewLogic::Insert);
        f.open();
        thread_.dct.Access.REW.prime();
        rew().P101 = c.status101;
        rew().P102 = "old kpp";
        rew().P105 = "old okato";
        g().PLAT = 2;
        g().K_POL = 0;
        f.reset();
        EXPECT_EQ(rew().N_SC_A.utf8(), "40702810900000000012");
        EXPECT_EQ(rew().N_PLA.utf8(), "ООО Ландыш");
        EXPECT_EQ(rew().INN_PLA.utf8(), "7701000001");
        EXPECT_EQ(+rew().NOMER, 2);
        EXPECT_EQ(rew().BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
        EXPECT_EQ(+rew().MFO_A, 41234567);  // "041234567" read as a number
        EXPECT_EQ(rew().K_SC_A.utf8(), "30101810400000000567");
        EXPECT_EQ(rew().P102.utf8(), c.kpp);
        EXPECT_EQ(rew().P105.utf8(), c.okato);
        EXPECT_EQ(g().PLAT, 0);  // consumed
        f.close();
    }
}

TEST_F(UpdateRewLogicTest, PayerNoLongerInTheListLeavesTheOrderAlone) {
    storeRecords(std::vector{payer(1, "40702810000000000001")});
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_SC_A = "typed";
    g().PLAT = 9;
    f.reset();
    EXPECT_EQ(rew().N_SC_A.utf8(), "typed");
    EXPECT_EQ(+rew().MFO_A, 0);
    EXPECT_EQ(g().PLAT, 0);
}

TEST_F(UpdateRewLogicTest, ChosenRecipientIsCopiedWithoutOkatoAndBankNameFillsTheWideField) {
    PolRecord r = recipient(4, "40702810700000000077");
    r.N_BANK = std::string(60, 'B');
    storeRecords(std::vector{recipient(1, "40702810000000000002"), r});
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_BANK = std::string(80, 'x');
    rew().P105 = "12345678";
    g().K_POL = 4;
    f.reset();
    EXPECT_EQ(rew().INN_POL.utf8(), "7702000002");
    EXPECT_EQ(rew().N_POL.utf8(), "ООО Получатель");
    EXPECT_EQ(rew().N_SC_B.utf8(), "40702810700000000077");
    EXPECT_EQ(rew().K_SC_B.utf8(), "30101810400000000225");
    EXPECT_EQ(+rew().MFO_B, 44525225);
    EXPECT_EQ(rew().N_BANK.raw(), std::string(60, 'B') + std::string(20, ' '));
    EXPECT_EQ(rew().P103.utf8(), "770201001");
    EXPECT_EQ(rew().P105.utf8(), "12345678");  // the recipient's OKATO is not taken
    EXPECT_EQ(g().K_POL, 0);
}

TEST_F(UpdateRewLogicTest, DeletionTakesNoSelectionAndShowsOk) {
    storeRecords(std::vector{payer(1, "40702810000000000001")});
    storeRecords(journal(2));
    g().PRI_DEL = 1;
    UpdateRewLogic& f = openOn(UpdateRewLogic::Delete, 1);
    g().PLAT = 1;
    g().K_POL = 1;
    f.reset();
    EXPECT_TRUE(f.okVisible);
    EXPECT_TRUE(rew().N_SC_A.blank());
    EXPECT_EQ(rew().N_DOK.utf8(), "2");
    EXPECT_EQ(g().PLAT, 0);
    EXPECT_EQ(g().K_POL, 0);

    // A deletion runs no checks, over an order that would fail every one.
    DictionaryReferences refs(thread_.dct);
    EXPECT_TRUE(f.confirm(refs).passed);
    EXPECT_TRUE(f.okVisible);
    EXPECT_TRUE(f.okPressed(refs).passed);
    EXPECT_EQ(g().ER, 0);
}

TEST_F(UpdateRewLogicTest, TaxFieldsDefaultOnlyWhenTheStatusIsFilled) {
    struct Case {
        const char* p101;
        const char* p106;
        const char* p109_2;
        const char* want106;
        const char* want109_2;
    };
    for (const Case c : {Case{"", "", "", "", ""}, Case{"01", "", "", "00", "0"},
                         Case{"02", "ТП", "12", "ТП", "12"}}) {
        SCOPED_TRACE(std::string(c.p101) + "/" + c.p106 + "/" + c.p109_2);
        UpdateRewLogic f(thread_.dct, UpdateRewLogic::Insert);
        f.open();
        thread_.dct.Access.REW.prime();
        rew().P101 = c.p101;
        rew().P106 = c.p106;
        rew().P109_2 = c.p109_2;
        f.reset();
        EXPECT_EQ(rew().P106.utf8(), c.want106);
        EXPECT_EQ(rew().P109_2.utf8(), c.want109_2);
        f.close();
    }
}

TEST_F(UpdateRewLogicTest, RememberPayerAddsOneEntryWithTheNextNumber) {
    storeRecords(std::vector{payer(1, "40702810000000000001", "ООО Первый", "770101001", "111"),
                             payer(2, "40702810000000000002", "ООО Второй", "772202002", "222")});
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_SC_A = test::kPayerAccount;
    rew().N_PLA = "ООО Новый";
    rew().INN_PLA = "7709999999";
    rew().P102 = "771001001";
    rew().P105 = "45286555";
    rew().MFO_A = 41234567;
    rew().K_SC_A = "30101810400000000567";
    rew().BANK_PLA = std::string(80, 'N');

    f.rememberPayer();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");
    f.MES_REW.clear();
    f.rememberPayer();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");

    const auto payers = readRecords<KbpRecord>();
    ASSERT_EQ(payers.size(), 3u);
    const KbpRecord& added = payers[2];
    EXPECT_EQ(+added.NOMER, 3);
    EXPECT_EQ(added.N_PLA.utf8(), "ООО Новый");
    EXPECT_EQ(added.INN_PLA.utf8(), "7709999999");
    EXPECT_EQ(added.N_SC_A.utf8(), test::kPayerAccount);
    EXPECT_EQ(added.MFO_A.raw(), "41234567 ");  // from the left, the leading zero gone
    EXPECT_EQ(added.K_SC_A.utf8(), "30101810400000000567");
    EXPECT_EQ(added.N_BANK.raw(), std::string(80, 'N'));
    // The order's own codes, never those of the last payer the search read.
    EXPECT_EQ(added.KPP.utf8(), "771001001");
    EXPECT_EQ(added.OKATO.utf8(), "45286555");
}

TEST_F(UpdateRewLogicTest, RememberAddsNothingAfterAFailedCheckOrWhenDeleting) {
    storeRecords(std::vector{payer(1, "40702810000000000001")});
    storeRecords(std::vector{recipient(1, "40702810000000000002")});
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_SC_A = test::kPayerAccount;
    rew().N_SC_B = test::kRecipientAccount;

    g().ER = 1;
    f.rememberPayer();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");
    f.rememberRecipient();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");

    // Deleting: the payer's button leaves the line empty, the recipient's says "done" all the
    // same (it also runs when merely tabbed onto).
    g().ER = 0;
    g().PRI_DEL = 1;
    f.MES_REW = "old";
    f.rememberPayer();
    EXPECT_TRUE(f.MES_REW.blank());
    f.MES_REW = "old";
    f.rememberRecipient();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");

    EXPECT_EQ(readRecords<KbpRecord>().size(), 1u);
    EXPECT_EQ(readRecords<PolRecord>().size(), 1u);
}

TEST_F(UpdateRewLogicTest, RememberWithoutAnAccountStoresNothingButSaysDone) {
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    f.rememberPayer();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");
    f.rememberRecipient();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");
    EXPECT_TRUE(readRecords<KbpRecord>().empty());
    EXPECT_TRUE(readRecords<PolRecord>().empty());
}

TEST_F(UpdateRewLogicTest, RememberRecipientCutsTheBankNameAndTakesTheOrdersKpp) {
    storeRecords(std::vector{recipient(1, "40702810000000000002")});
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_SC_B = test::kRecipientAccount;
    rew().N_POL = "ИП Иванов";
    rew().P103 = "771301001";
    rew().INN_POL = "500100732259";
    rew().MFO_B = 44525225;
    rew().K_SC_B = "30101810400000000225";
    rew().N_BANK = std::string(60, 'A') + std::string(20, 'Z');
    f.rememberRecipient();
    f.rememberRecipient();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");
    const auto list = readRecords<PolRecord>();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(+list[1].NOMER, 2);
    EXPECT_EQ(list[1].N_POL.utf8(), "ИП Иванов");
    EXPECT_EQ(list[1].INN_POL.utf8(), "500100732259");
    EXPECT_EQ(list[1].N_SC.utf8(), test::kRecipientAccount);
    EXPECT_EQ(list[1].BIK.raw(), "44525225 ");
    EXPECT_EQ(list[1].KOR_SC.utf8(), "30101810400000000225");
    EXPECT_EQ(list[1].N_BANK.raw(), std::string(60, 'A'));
    EXPECT_EQ(list[1].KPP.utf8(), "771301001");
    EXPECT_EQ(list[1].OKATO.utf8(), "");
}

// After a deletion from the middle of the list the record count plus 1 is a number in use; the
// list's unique key would refuse it, so the entry takes the next free number after the highest.
TEST_F(UpdateRewLogicTest, RememberedEntryDoesNotCollideWithANumberInUse) {
    storeRecords(std::vector{payer(1, "40702810000000000001"), payer(3, "40702810000000000003")});
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_SC_A = test::kPayerAccount;
    f.rememberPayer();
    EXPECT_EQ(f.MES_REW.utf8(), "Задание выполнено");
    const auto payers = readRecords<KbpRecord>();
    ASSERT_EQ(payers.size(), 3u);
    EXPECT_EQ(+payers[2].NOMER, 4);
    EXPECT_TRUE(messages_.titles().empty());
}

TEST_F(UpdateRewLogicTest, RememberIntoAnUnreadableListReportsAndDoesNotClaimSuccess) {
    {
        std::ofstream junk("DATA/Kbp.dat", std::ios::binary);
        junk << std::string(4096, 'j');
    }
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    rew().N_SC_A = test::kPayerAccount;
    f.rememberPayer();
    EXPECT_TRUE(f.MES_REW.blank());
    EXPECT_FALSE(messages_.titles().empty());
}

TEST_F(UpdateRewLogicTest, CopyAddsANumberedCopyAndTheFormGoesOnWithIt) {
    storeRecords(journal(11));
    UpdateRewLogic& f = openOn(UpdateRewLogic::Change, 4);  // order 5
    ASSERT_EQ(rew().N_DOK.utf8(), "5");
    rew().SUMMA = 1000.00;
    f.copyOrder();
    EXPECT_EQ(f.MES_REW.utf8(), "П/п скопировано");
    EXPECT_EQ(rew().N_DOK.raw(), "12?? ");
    EXPECT_EQ(+rew().SUMMA, 0.01);

    auto orders = readRecords<RewRecord>();
    ASSERT_EQ(orders.size(), 12u);
    EXPECT_EQ(orders[11].N_DOK.raw(), "12?? ");
    EXPECT_EQ(+orders[11].SUMMA, 0.01);
    EXPECT_EQ(+orders[11].D_DOK, 80005);
    EXPECT_EQ(+orders[11].DDD, 99999 - 80005);  // listed by the journal
    EXPECT_EQ(+orders[4].SUMMA, 500.0);         // the original as stored

    // A write-back after the copy lands on the copy; the order copied from stays as it was.
    rew().SUMMA = 777.0;
    f.complete();
    ASSERT_TRUE(thread_.dct.Access.REW.update());
    orders = readRecords<RewRecord>();
    ASSERT_EQ(orders.size(), 12u);
    EXPECT_EQ(orders[4].N_DOK.utf8(), "5");
    EXPECT_EQ(+orders[4].SUMMA, 500.0);
    EXPECT_EQ(+orders[11].SUMMA, 777.0);
}

TEST_F(UpdateRewLogicTest, CopyWorksInDeleteModeToo) {
    storeRecords(journal(2));
    g().PRI_DEL = 1;
    UpdateRewLogic& f = openOn(UpdateRewLogic::Delete, 0);
    f.copyOrder();
    EXPECT_EQ(f.MES_REW.utf8(), "П/п скопировано");
    EXPECT_EQ(readRecords<RewRecord>().size(), 3u);
}

TEST_F(UpdateRewLogicTest, CompletionSetsTheJournalKeyAndTheFirstOrderMark) {
    struct Case {
        int existing;
        LONG date;
        LONG ddd;
        SHORT pri;
    };
    for (const Case c : {Case{0, 80123, 99999 - 80123, 1}, Case{2, 80123, 99999 - 80123, 0},
                         Case{2, 0, 99999, 0}, Case{2, 99999, 0, 0}}) {
        SCOPED_TRACE(::testing::Message() << c.existing << " " << c.date);
        std::filesystem::remove("DATA/Rew.dat");
        storeRecords(journal(c.existing));
        g().PRI_DEL = 1;
        g().K_POL = 3;
        UpdateRewLogic f(thread_.dct, UpdateRewLogic::Insert);
        f.open();
        thread_.dct.Access.REW.prime();
        rew().D_DOK = c.date;
        f.complete();
        EXPECT_EQ(+rew().DDD, c.ddd);
        EXPECT_EQ(+rew().PRI, c.pri);
        EXPECT_EQ(g().PRI_DEL, 0);
        EXPECT_EQ(g().K_POL, 0);
        f.close();
    }
}

TEST_F(UpdateRewLogicTest, ConfirmShowsOkOnlyAfterAPassAndNamesTheFailure) {
    test::storeReferences();
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    f.reset();
    DictionaryReferences refs(thread_.dct);
    test::completeOrder(rew());
    rew().SORT = 9;
    f.okVisible = true;
    CheckResult r = f.confirm(refs);
    EXPECT_FALSE(r.passed);
    EXPECT_FALSE(f.okVisible);
    EXPECT_EQ(f.MES_REW.utf8(), "Ошибка в приоритете???");
    EXPECT_EQ(r.focus, "?REW:SORT");
    EXPECT_EQ(g().ER, 1);

    rew().SORT = 5;
    g().PLAT = 0;
    r = f.confirm(refs);
    EXPECT_TRUE(r.passed);
    EXPECT_TRUE(f.okVisible);
    EXPECT_EQ(f.MES_REW.utf8(), "Нажмите ОК для записи в базу");
    EXPECT_EQ(rew().BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");  // completed by the checks
}

TEST_F(UpdateRewLogicTest, ControlOffLetsAnIncompleteOrderThroughAndControlOnHidesOk) {
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    f.reset();
    f.opened();
    DictionaryReferences refs(thread_.dct);

    f.controlOff();
    EXPECT_EQ(g().KONTR, 1);
    EXPECT_EQ(f.MES_REW.utf8(), "Контроль снят !!!");
    EXPECT_FALSE(f.okVisible);  // keeps its visibility

    const CheckResult r = f.confirm(refs);
    EXPECT_FALSE(r.ran);
    EXPECT_TRUE(f.okVisible);
    EXPECT_EQ(f.MES_REW.utf8(), "Нажмите ОК для записи в базу");
    EXPECT_TRUE(f.okPressed(refs).passed);

    f.controlOn();
    EXPECT_EQ(g().KONTR, 0);
    EXPECT_EQ(f.MES_REW.utf8(), "Контроль восстановлен !!!");
    EXPECT_FALSE(f.okVisible);
    EXPECT_FALSE(f.okPressed(refs).passed);  // the empty order is checked again
}

TEST_F(UpdateRewLogicTest, OpeningAndCancelClearTheFlagsAndSelections) {
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    g().KONTR = 1;
    g().PLAT = 5;
    g().K_POL = 6;
    f.MES_REW = "x";
    f.opened();
    EXPECT_EQ(g().KONTR, 0);
    EXPECT_EQ(g().PLAT, 0);
    EXPECT_EQ(g().K_POL, 0);
    EXPECT_TRUE(f.MES_REW.blank());

    f.controlOff();
    g().PLAT = 5;
    f.cancel();
    EXPECT_EQ(g().KONTR, 0);
    EXPECT_EQ(g().PLAT, 0);
    EXPECT_TRUE(f.MES_REW.blank());
}

TEST_F(UpdateRewLogicTest, FormHoldsItsSevenFilesWhileOpen) {
    Dictionary& d = thread_.dct;
    UpdateRewLogic& f = open(UpdateRewLogic::Insert);
    for (int n : {d.Relate.BIK.openCount(), d.Relate.BL2.openCount(), d.Relate.KBP.openCount(),
                  d.Relate.KSZ.openCount(), d.Relate.MCO.openCount(), d.Relate.POL.openCount(),
                  d.Relate.REW.openCount()})
        EXPECT_EQ(n, 1);
    EXPECT_EQ(d.Relate.KNN.openCount(), 0);
    f.close();
    EXPECT_EQ(d.Relate.REW.openCount(), 0);
    EXPECT_EQ(d.Relate.KBP.openCount(), 0);
}

}  // namespace
}  // namespace pordex
