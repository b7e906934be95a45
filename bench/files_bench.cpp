// The record-file layer at the journal's scale: adding orders, keyed fetches, paging through a
// million orders, counting them.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "data/file_layouts.h"
#include "data/file_manager.h"
#include "platform/files/record_file.h"
#include "support/sample_orders.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

using files::Direction;
using files::Order;
using files::Position;
using files::RecordFile;
using files::Row;

constexpr int kBig = 1'000'000;
constexpr int kDays = 3650;  // ten years of orders

RewRecord order(std::mt19937& rng, int i) {
    const double summa = (rng() % 10'000'000) / 100.0;
    RewRecord r = test::sampleOrder(i, 80000 + static_cast<LONG>(rng() % kDays));
    r.MFO_B = 44525225;
    r.N_SC_B = "40702810900000000012";
    r.SUMMA = summa;
    r.NAME = "Оплата по счету № 123 от 01.02.2024 за поставку товаров, в т.ч. НДС 20%";
    r.N_PLA = "ООО «Ромашка»";
    r.N_POL = "АО «Поставщик оборудования и материалов»";
    r.N_BANK = "ПАО СБЕРБАНК г. МОСКВА";
    r.BANK_PLA = "АО «АЛЬФА-БАНК» г. МОСКВА";
    return r;
}

// One journal of a million orders, built once per run.
struct BigJournal {
    test::TempWorkdir dir;
    std::unique_ptr<RecordFile> file;
    std::vector<RewRecord> sample;  // every thousandth order, for fetches

    BigJournal() {
        file = std::make_unique<RecordFile>(rewFile());
        file->open();
        std::mt19937 rng(1);
        constexpr int kChunk = 100'000;
        std::vector<RewRecord> chunk(kChunk);
        for (int done = 0; done < kBig; done += kChunk) {
            for (int i = 0; i < kChunk; ++i) chunk[i] = order(rng, done + i);
            for (int i = 0; i < kChunk; i += 1000) sample.push_back(chunk[i]);
            file->insertAll(chunk.data(), chunk.size());
        }
    }
};

BigJournal& big() {
    static BigJournal j;
    return j;
}

void BM_InsertOneTransactionEach(benchmark::State& state) {
    test::TempWorkdir dir;
    RecordFile f(rewFile());
    f.open();
    std::mt19937 rng(2);
    int i = 0;
    for (auto _ : state) {
        const RewRecord r = order(rng, i++);
        if (!f.insert(&r)) state.SkipWithError("insert failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InsertOneTransactionEach)->Iterations(10'000)->Unit(benchmark::kMillisecond);

void BM_InsertAllInOneTransaction(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 rng(3);
    std::vector<RewRecord> recs;
    for (int i = 0; i < n; ++i) recs.push_back(order(rng, i));
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<test::TempWorkdir>();
        RecordFile f(rewFile());
        f.open();
        state.ResumeTiming();
        if (!f.insertAll(recs.data(), recs.size())) state.SkipWithError("insert failed");
        state.PauseTiming();
        f.close();
        dir.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_InsertAllInOneTransaction)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FetchByKey(benchmark::State& state) {
    auto& j = big();
    RewRecord out;
    std::size_t i = 0;
    for (auto _ : state) {
        const RewRecord& key = j.sample[i++ % j.sample.size()];
        if (j.file->fetch(REW_KEY_4, &key, &out) != files::Status::Ok)
            state.SkipWithError("not found");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_FetchByKey);

// Pages of 50 in the journal's order, each continuing from the last, starting at the first
// order, at the middle of the key, or at the last one reading backward.
void BM_ReadPage(benchmark::State& state) {
    auto& j = big();
    const int where = static_cast<int>(state.range(0));  // 0 start, 1 middle, 2 end
    const Direction dir = where == 2 ? Direction::Backward : Direction::Forward;
    auto startAt = [&] {
        if (where == 0) return Position::first();
        if (where == 2) return Position::last();
        RewRecord mid;
        mid.DDD = 99999 - (80000 + kDays / 2);
        return Position::atKey({reinterpret_cast<const std::byte*>(&mid), sizeof mid});
    };
    Position p = startAt();
    std::vector<Row> rows;
    for (auto _ : state) {
        rows.clear();
        if (!j.file->read(Order::byKey(0), p, dir, 50, rows)) state.SkipWithError("read failed");
        if (rows.size() < 50) {
            p = startAt();
        } else {
            p = dir == Direction::Forward ? Position::after(rows.back().id, rows.back().bytes)
                                          : Position::before(rows.back().id, rows.back().bytes);
        }
    }
    state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_ReadPage)->Arg(0)->Arg(1)->Arg(2);

void BM_Count(benchmark::State& state) {
    auto& j = big();
    for (auto _ : state) benchmark::DoNotOptimize(j.file->count());
}
BENCHMARK(BM_Count);

}  // namespace
}  // namespace pordex

BENCHMARK_MAIN();
