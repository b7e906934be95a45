#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "data/file_layouts.h"
#include "data/globals.h"
#include "data/records.h"
#include "platform/files/error_manager.h"
#include "platform/files/record_file.h"
#include "support/record_store.h"

// What the payment-order form's tests share: the file layer's messages kept instead of shown,
// records stored and read back through a connection of their own, and a small set of reference
// data under which a complete order passes every check.
namespace pordex::test {

// Keeps the file layer's messages, and a fatal one does not end the test program.
class KeptMessages {
  public:
    KeptMessages() : presenter_(std::make_shared<Presenter>()) {
        previous_ = files::globalErrors().setPresenter(presenter_);
        previousEnd_ = files::globalErrors().setEndProgram([] {});
    }
    ~KeptMessages() {
        files::globalErrors().setPresenter(previous_);
        files::globalErrors().setEndProgram(previousEnd_);
    }
    KeptMessages(const KeptMessages&) = delete;
    KeptMessages& operator=(const KeptMessages&) = delete;

    std::vector<std::string> titles() const {
        std::lock_guard lock(presenter_->mutex);
        return presenter_->titles;
    }

  private:
    struct Presenter : files::ErrorPresenter {
        mutable std::mutex mutex;
        std::vector<std::string> titles;
        void present(const files::ErrorReport& r) override {
            std::lock_guard lock(mutex);
            titles.push_back(r.title);
        }
    };
    std::shared_ptr<Presenter> presenter_;
    std::shared_ptr<files::ErrorPresenter> previous_;
    files::ErrorManager::EndProgram previousEnd_;
};

inline KbpRecord payer(SHORT nomer, std::string_view account, std::string_view name = "ООО Ромашка",
                       std::string_view kpp = "770101001", std::string_view okato = "45286555") {
    KbpRecord r{};
    r.NOMER = nomer;
    r.N_PLA = name;
    r.INN_PLA = "7701000001";
    r.N_SC_A = account;
    r.MFO_A = "041234567";
    r.K_SC_A = "30101810400000000567";
    r.N_BANK = "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"";
    r.KPP = kpp;
    r.OKATO = okato;
    return r;
}

inline PolRecord recipient(SHORT nomer, std::string_view account,
                           std::string_view name = "ООО Получатель") {
    PolRecord r{};
    r.NOMER = nomer;
    r.N_POL = name;
    r.INN_POL = "7702000002";
    r.N_SC = account;
    r.BIK = "044525225";
    r.KOR_SC = "30101810400000000225";
    r.N_BANK = "ПАО СБЕРБАНК г.Москва";
    r.KPP = "770201001";
    r.OKATO = "45000000";
    return r;
}

// Orders numbered 1..n, one per day.
inline std::vector<RewRecord> journal(int n, LONG firstDate = 80000) {
    std::vector<RewRecord> orders;
    for (int i = 1; i <= n; ++i) {
        RewRecord r{};
        r.N_DOK = std::to_string(i);
        r.N_D = "N";
        r.D_DOK = firstDate + i;
        r.DDD = 99999 - r.D_DOK;
        r.SUMMA = 100.0 * i;
        orders.push_back(r);
    }
    return orders;
}

// Banks and accounts under which `completeOrder` passes every check.
inline constexpr LONG kPayerBik = 41234567;
inline constexpr LONG kRecipientBik = 44525225;
inline constexpr std::string_view kPayerAccount = "40702810900000000012";
inline constexpr std::string_view kRecipientAccount = "40702810700000000077";

inline void storeReferences() {
    McoRecord m1;
    m1.MFO = kPayerBik;
    m1.KS = "30101810400000000567";
    McoRecord m2;
    m2.MFO = kRecipientBik;
    m2.KS = "30101810400000000225";
    storeRecords(std::vector{m1, m2});
    BikRecord b1;
    b1.MFORKC = 0;
    b1.MFO9 = kPayerBik;
    b1.NAME = "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"";
    BikRecord b2;
    b2.MFORKC = 0;
    b2.MFO9 = kRecipientBik;
    b2.NAME = "ПАО СБЕРБАНК г.Москва";
    storeRecords(std::vector{b1, b2});
    storeRecords(std::vector{Bl2Record{40702}, Bl2Record{40101}});
    storeRecords(std::vector<KszRecord>{});
}

inline void completeOrder(RewRecord& rew) {
    rew.MFO_A = kPayerBik;
    rew.N_SC_A = kPayerAccount;
    rew.N_PLA = "ООО Ромашка";
    rew.MFO_B = kRecipientBik;
    rew.N_SC_B = kRecipientAccount;
    rew.INN_POL = "7702000002";
    rew.N_POL = "ООО Получатель";
    rew.SORT = 5;
    rew.NDS = "-1";
    rew.SUMMA = 1000.00;
    rew.NAME = "Оплата по счету 17";
}

}  // namespace pordex::test
