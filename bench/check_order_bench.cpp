// One run of the payment-order checks against a bank directory of 10^5 banks: in memory, and
// over the SQLite reference files through a thread's data store.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/dictionary.h"
#include "data/file_layouts.h"
#include "orders/account_key.h"
#include "orders/check_order.h"
#include "orders/dictionary_references.h"
#include "orders/memory_references.h"
#include "platform/files/record_file.h"
#include "support/temp_workdir.h"

namespace {

using namespace pordex;

constexpr int kBanks = 100000;

struct Directory {
    std::vector<McoRecord> mco;
    std::vector<BikRecord> bik;
    std::vector<KszRecord> ksz;
    std::vector<Bl2Record> bl2;
    std::vector<RewRecord> orders;  // each passes every check
};

std::string keyed(LONG bik, std::string account) {
    for (char d = '0'; d <= '9'; ++d) {
        account[8] = d;
        if (accountKeyValid(bik, account, BankPart::CreditInstitution)) break;
    }
    return account;
}

const Directory& directory() {
    static const Directory d = [] {
        Directory d;
        std::mt19937 rng(7);
        for (int i = 0; i < kBanks; ++i) {
            const LONG b = 40000000 + i * 97;
            McoRecord m;
            m.MFO = b;
            m.KS = "30101810" + std::to_string(100000000000LL + i);
            d.mco.push_back(m);
            BikRecord k;
            k.MFORKC = 0;
            k.MFO9 = b;
            k.NAME = "БАНК N " + std::to_string(i);
            d.bik.push_back(k);
            if (i % 100 == 0) {
                KszRecord z;
                z.MFO = b;
                z.KS = "30101810" + std::to_string(200000000000LL + i);
                z.MFO_N = b;
                z.KS_N.assignFrom(m.KS);
                d.ksz.push_back(z);
            }
        }
        for (LONG bs2 = 40101; bs2 <= 40825; ++bs2) d.bl2.push_back(Bl2Record{bs2});
        for (int i = 0; i < 1024; ++i) {
            RewRecord r{};
            r.MFO_A = d.mco[rng() % kBanks].MFO;
            r.MFO_B = d.mco[rng() % kBanks].MFO;
            r.N_SC_A =
                keyed(r.MFO_A, "40702810X" + std::to_string(10000000000LL + rng() % 1000000));
            r.N_SC_B =
                keyed(r.MFO_B, "40702810X" + std::to_string(10000000000LL + rng() % 1000000));
            r.INN_POL = "7701234567";
            r.N_POL = "ООО Получатель";
            r.SORT = 5;
            r.NDS = "20";
            r.SUMMA = 100.00 + i;
            r.NAME = "Оплата по счету " + std::to_string(i);
            d.orders.push_back(r);
        }
        return d;
    }();
    return d;
}

void runOrders(benchmark::State& state, OrderReferences& refs) {
    const auto& orders = directory().orders;
    std::size_t i = 0;
    RewRecord rew;
    for (auto _ : state) {
        rew = orders[i++ % orders.size()];
        const CheckResult r = CheckOrder(rew, refs, CheckMode::Save);
        if (!r.passed) state.SkipWithError("an order failed its checks");
        benchmark::DoNotOptimize(rew);
    }
}

void BM_CheckOrderInMemory(benchmark::State& state) {
    const Directory& d = directory();
    test::MemoryReferences refs;
    for (const auto& r : d.mco) refs.addMco(r);
    for (const auto& r : d.bik) refs.addBik(r);
    for (const auto& r : d.ksz) refs.addKsz(r);
    for (const auto& r : d.bl2) refs.addBl2(r.BS2);
    runOrders(state, refs);
}
BENCHMARK(BM_CheckOrderInMemory);

template <class R>
void store(const std::vector<R>& records) {
    files::RecordFile f(fileOf<R>());
    if (!f.open() || !f.insertAll(records.data(), records.size())) std::abort();
}

void BM_CheckOrderOverSqliteFiles(benchmark::State& state) {
    const Directory& d = directory();
    test::TempWorkdir dir;
    store(d.mco);
    store(d.bik);
    store(d.ksz);
    store(d.bl2);
    Dictionary dct;
    DictionaryReferences refs(dct);
    runOrders(state, refs);
}
BENCHMARK(BM_CheckOrderOverSqliteFiles);

}  // namespace

BENCHMARK_MAIN();
