#include "orders/dictionary_references.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "data/dictionary.h"
#include "data/file_layouts.h"
#include "orders/check_order.h"
#include "platform/files/error_manager.h"
#include "platform/files/record_file.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

// Keeps the file layer's messages instead of showing them.
class Messages : public files::ErrorPresenter {
  public:
    void present(const files::ErrorReport& r) override {
        std::lock_guard lock(mutex_);
        titles.push_back(r.title);
    }
    std::vector<std::string> titles;

  private:
    std::mutex mutex_;
};

template <class R>
void store(const std::vector<R>& records) {
    files::RecordFile f(fileOf<R>());
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.insertAll(records.data(), records.size()));
}

McoRecord mco(LONG mfo, std::string_view ks) {
    McoRecord r;
    r.MFO = mfo;
    r.KS = ks;
    return r;
}
BikRecord bik(LONG mfo9, std::string_view name) {
    BikRecord r;
    r.MFORKC = 0;
    r.MFO9 = mfo9;
    r.NAME = name;
    return r;
}
KszRecord ksz(LONG mfo, std::string_view ks, std::string_view ksNew) {
    KszRecord r;
    r.MFO = mfo;
    r.KS = ks;
    r.MFO_N = 0;
    r.KS_N = ksNew;
    return r;
}

class DictionaryReferencesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobals();
        previous_ = files::globalErrors().setPresenter(messages_);
    }
    void TearDown() override { files::globalErrors().setPresenter(previous_); }

    void storeReferences() {
        store(std::vector{mco(41234567, "30101810400000000567"),
                          mco(44525225, "30101810400000000225"),
                          mco(41234001, ""),  // a settlement centre
                          mco(0, "30101810000000000000")});
        store(std::vector{bik(41234567, "ПАО \"БАНК ПЛАТЕЛЬЩИКА\""),
                          bik(44525225, "ПАО СБЕРБАНК г.Москва")});
        store(std::vector{ksz(44525225, "40702810400000000001", "40702810400000000002")});
        store(std::vector{Bl2Record{40702}, Bl2Record{40101}});
    }

    void fillOrder(RewRecord& rew) {
        rew.MFO_A = 41234567;
        rew.N_SC_A = "40702810900000000012";
        rew.MFO_B = 44525225;
        rew.N_SC_B = "40702810700000000077";
        rew.INN_POL = "7701234567";
        rew.N_POL = "ООО Получатель";
        rew.SORT = 5;
        rew.NDS = "20";
        rew.SUMMA = 100.00;
        rew.NAME = "Услуги";
    }

    test::TempWorkdir dir_;
    std::shared_ptr<Messages> messages_ = std::make_shared<Messages>();
    std::shared_ptr<files::ErrorPresenter> previous_;
};

TEST_F(DictionaryReferencesTest, ChecksAnOrderOverTheThreadsFiles) {
    storeReferences();
    Dictionary dct;
    fillOrder(dct.REW);
    {
        DictionaryReferences refs(dct);
        EXPECT_EQ(dct.Relate.MCO.openCount(), 1);
        const CheckResult r = CheckOrder(dct.REW, refs, CheckMode::Confirm);
        EXPECT_TRUE(r.passed) << r.message << " " << r.focus;
    }
    EXPECT_EQ(dct.REW.BANK_PLA.utf8(), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
    EXPECT_EQ(dct.REW.K_SC_A.utf8(), "30101810400000000567");
    EXPECT_EQ(dct.REW.N_BANK.utf8(), "ПАО СБЕРБАНК г.Москва");
    EXPECT_EQ(dct.REW.K_SC_B.utf8(), "30101810400000000225");
    EXPECT_EQ(dct.REW.NAME.utf8(), "Услуги в т.ч. НДС 20%=16.67");
    // The lookups went through the thread's buffers.
    EXPECT_EQ(LONG{dct.BIK.MFO9}, 44525225);
    EXPECT_EQ(LONG{dct.BL2.BS2}, 40702);
    // The opens are counted: the files are released with the lookups.
    EXPECT_EQ(dct.Relate.MCO.openCount(), 0);
    EXPECT_EQ(dct.Relate.BL2.openCount(), 0);
    EXPECT_TRUE(messages_->titles.empty());
}

TEST_F(DictionaryReferencesTest, KeyedLookupsFindWhatTheKeysHold) {
    storeReferences();
    Dictionary dct;
    DictionaryReferences refs(dct);

    McoRecord m;
    EXPECT_TRUE(refs.fetchMco(41234001, m));
    EXPECT_TRUE(m.KS.blank());
    EXPECT_FALSE(refs.fetchMco(0, m)) << "a zero BIK is outside the key, though a record holds it";
    EXPECT_FALSE(refs.fetchMco(41234568, m));

    BikRecord b;
    EXPECT_FALSE(refs.fetchBik(41234001, b));
    KszRecord k;
    EXPECT_TRUE(refs.fetchKsz(Str<25>("40702810400000000001"), k));
    EXPECT_EQ(k.KS_N.utf8(), "40702810400000000002");
    EXPECT_FALSE(refs.fetchKsz(Str<25>("4070281040000000000"), k));
    EXPECT_FALSE(refs.fetchKsz(Str<25>(""), k));
    Bl2Record l;
    EXPECT_TRUE(refs.fetchBl2(40101, l));
    EXPECT_FALSE(refs.fetchBl2(40817, l));
    EXPECT_TRUE(messages_->titles.empty());

    // Through the chain: the closed account and the settlement centre.
    fillOrder(dct.REW);
    dct.REW.N_SC_B = "40702810400000000001";
    EXPECT_EQ(CheckOrder(dct.REW, refs, CheckMode::Save).message, "Этот л.с. в этом банке закрыт?");
    dct.REW.MFO_B = 41234001;
    dct.REW.N_SC_B = "40101810800000010001";
    dct.REW.N_BANK.clear();
    EXPECT_TRUE(CheckOrder(dct.REW, refs, CheckMode::Save).passed);
    EXPECT_EQ(dct.REW.N_BANK.utf8(), "???????????????");
}

TEST_F(DictionaryReferencesTest, MissingReferenceFilesComeIntoBeingEmpty) {
    Dictionary dct;
    fillOrder(dct.REW);
    DictionaryReferences refs(dct);
    const CheckResult r = CheckOrder(dct.REW, refs, CheckMode::Save);
    EXPECT_EQ(r.message, "Ошибочный код БИК ???");
    EXPECT_EQ(r.focus, "?REW:MFO_A");
    EXPECT_TRUE(std::filesystem::exists(dir_.data() / "Mco.dat"));
    EXPECT_TRUE(messages_->titles.empty());
}

}  // namespace
}  // namespace pordex
