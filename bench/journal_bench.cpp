// The journal of payment orders over 10^3 and 10^6 orders, as the user meets it: the window
// opened to its first page, a page scrolled, a jump to the end, a search that matches nothing and
// one that matches a single order in the middle of the journal; and its peak memory.
//
// The orders are added in random date order, so the journal's order (newest first) visits the
// file's storage in random order: the worst case for reading through the key.
//
// For scale, BM_Grep runs `grep -F -c` over a text export of the four searched fields (payer,
// payer's bank, recipient, purpose; one order a line, UTF-8) with the fragment that matches
// nothing: the search over 10^6 orders is meant to stay within three times that.
//
// Memory: each window benchmark reports peak_MB, the process's peak resident memory while the
// journal ran (the peak is reset before it, /proc/self/clear_refs), and rss_before_MB, the
// resident memory before it opened.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/file_layouts.h"
#include "data/globals.h"
#include "orders/journal_search.h"
#include "orders/journal_state.h"
#include "orders/ui/rew_tab.h"
#include "platform/files/record_file.h"
#include "platform/runtime/codec.h"
#include "platform/ui/platform_setup.h"
#include "platform/ui/settings_store.h"
#include "support/sample_orders.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

using files::Direction;
using files::Position;
using files::RecordFile;
using files::Row;

constexpr int kSmall = 1000;
constexpr int kBig = 1'000'000;
constexpr int kDays = 3650;  // ten years
constexpr const char* kNothing = "нет такого";
constexpr const char* kTheOne = "единственный";

const char* const kPayers[] = {"ООО «Ромашка»",
                               "АО «Северный завод»",
                               "ИП Сидоров А.В.",
                               "ООО \"Техснаб-М\"",
                               "ЗАО «Лесопромышленная компания»",
                               "ООО «Торговый дом Восток»",
                               "МУП «Водоканал»"};
const char* const kBanks[] = {"ПАО СБЕРБАНК г. МОСКВА", "АО «АЛЬФА-БАНК» г. МОСКВА",
                              "Банк ВТБ (ПАО) г. Санкт-Петербург", "ПАО «Промсвязьбанк»",
                              "АО «Райффайзенбанк» г. Москва"};
const char* const kRecipients[] = {"АО «Поставщик оборудования и материалов»",
                                   "УФК по г. Москве (ИФНС России № 7)",
                                   "ООО «Энергосбыт»",
                                   "ООО «Транспортная компания Магистраль»",
                                   "ПАО «Ростелеком»",
                                   "ООО «Канцтовары оптом»"};
const char* const kPurposes[] = {
    "Оплата по счету № %d от %02d.%02d.2024 за поставку товаров, в т.ч. НДС 20%%",
    "Налог на доходы физических лиц за %02d.%d, расчет № %d, НДС не облагается",
    "Оплата услуг связи по договору № %d-%d за %02d месяц, в т.ч. НДС 20%%",
    "Арендная плата по договору %d от %02d.%02d.2023, НДС не облагается"};

RewRecord makeOrder(std::mt19937& rng, int i) {
    char buf[256];
    const LONG mfoB = 44525000 + static_cast<LONG>(rng() % 1000);
    std::snprintf(buf, sizeof buf, "407028109%011u",
                  static_cast<unsigned>(rng() % 100'000'000'000u));
    const std::string accountB = buf;
    const double summa = static_cast<double>(rng() % 1'000'000'000) / 100.0;
    RewRecord r = test::sampleOrder(i, 80000 + static_cast<LONG>(rng() % kDays));
    r.MFO_B = mfoB;
    r.N_SC_B = accountB;
    r.SUMMA = summa;
    std::snprintf(buf, sizeof buf, kPurposes[rng() % 4], static_cast<int>(rng() % 9999),
                  static_cast<int>(1 + rng() % 28), static_cast<int>(1 + rng() % 12));
    r.NAME = buf;
    r.N_PLA = kPayers[rng() % std::size(kPayers)];
    r.N_POL = kRecipients[rng() % std::size(kRecipients)];
    r.N_BANK = kBanks[rng() % std::size(kBanks)];
    r.BANK_PLA = kBanks[rng() % std::size(kBanks)];
    return r;
}

void ensureApp() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "journal_bench";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        ui::installPlatform();
        return a;
    }();
    (void)app;
}

void flush() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// One journal in a working folder of its own, with its text export.
struct Journal {
    test::TempWorkdir dir;
    int size;

    explicit Journal(int n) : size(n) {
        RecordFile file(rewFile());
        file.open();
        std::mt19937 rng(7);
        std::ofstream text("export.txt");
        constexpr int kChunk = 10'000;
        std::vector<RewRecord> chunk;
        for (int done = 0; done < n;) {
            chunk.clear();
            for (int i = 0; i < kChunk && done < n; ++i, ++done) {
                chunk.push_back(makeOrder(rng, done));
                RewRecord& r = chunk.back();
                // The one order the second search finds, half way down the journal.
                if (done == n / 2) {
                    r.N_POL = "ООО «Единственный получатель»";
                    r.D_DOK = 80000 + kDays / 2;
                    r.DDD = 99999 - r.D_DOK;
                }
                text << r.N_PLA.utf8() << '\t' << r.BANK_PLA.utf8() << '\t' << r.N_POL.utf8()
                     << '\t' << r.NAME.utf8() << '\n';
            }
            file.insertAll(chunk.data(), chunk.size());
        }
    }
};

// Both journals stay for the whole run; each benchmark works in its journal's folder.
Journal& journal(int n) {
    static std::map<int, std::unique_ptr<Journal>> made;
    auto& j = made[n];
    if (!j) j = std::make_unique<Journal>(n);
    std::filesystem::current_path(j->dir.path());
    ensureApp();
    if (!ui::iniMgr().isOpen()) ui::iniMgr().init(j->dir.ini());
    resetGlobals();
    return *j;
}

long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return -1;
}

// Peak resident memory from here on.
struct PeakMemory {
    long before;
    PeakMemory() : before(statusKb("VmRSS")) { std::ofstream("/proc/self/clear_refs") << "5"; }
    void report(benchmark::State& state) const {
        state.counters["rss_before_MB"] = static_cast<double>(before) / 1024.0;
        state.counters["peak_MB"] = static_cast<double>(statusKb("VmHWM")) / 1024.0;
    }
};

RewTab* openJournal() {
    RewTab* j = REW_TAB();
    return j;
}

void closeJournal(RewTab* j) {
    j->closeWith(RewTab::RequestCancelled);
    flush();
}

void setSearch(const char* recipient) {
    clearSearchTexts();
    globals().NAME_POL = recipient;
}

void BM_OpenToFirstPage(benchmark::State& state) {
    journal(static_cast<int>(state.range(0)));
    PeakMemory peak;
    for (auto _ : state) {
        RewTab* j = openJournal();
        if (j->list()->model()->rowCount() == 0) state.SkipWithError("empty");
        state.PauseTiming();
        closeJournal(j);
        state.ResumeTiming();
    }
    peak.report(state);
}

void BM_ScrollPage(benchmark::State& state) {
    journal(static_cast<int>(state.range(0)));
    PeakMemory peak;
    RewTab* j = openJournal();
    QTableView* view = j->list()->view();
    for (auto _ : state) {
        QTest::keyClick(view, Qt::Key_PageDown);
        ui::BrowseList* l = j->list();
        if (l->model()->atEnd() && l->currentRow() == l->model()->rowCount() - 1) {
            state.PauseTiming();
            QTest::keyClick(view, Qt::Key_Home);
            state.ResumeTiming();
        }
    }
    state.counters["page_rows"] = static_cast<double>(j->list()->pageRows());
    closeJournal(j);
    peak.report(state);
}

void BM_JumpToEnd(benchmark::State& state) {
    journal(static_cast<int>(state.range(0)));
    PeakMemory peak;
    RewTab* j = openJournal();
    QTableView* view = j->list()->view();
    for (auto _ : state) {
        QTest::keyClick(view, Qt::Key_End);
        state.PauseTiming();
        if (j->list()->model()->atStart()) state.SkipWithError("not at the end");
        QTest::keyClick(view, Qt::Key_Home);
        state.ResumeTiming();
    }
    closeJournal(j);
    peak.report(state);
}

// "Поиск" from the top of the journal with the recipient's fragment.
void searchBench(benchmark::State& state, const char* fragment, int expected) {
    journal(static_cast<int>(state.range(0)));
    PeakMemory peak;
    RewTab* j = openJournal();
    const int find = j->controlNumber("?Find");
    for (auto _ : state) {
        state.PauseTiming();
        setSearch(fragment);
        j->display();
        state.ResumeTiming();
        j->post(find);
        state.PauseTiming();
        if (j->list()->model()->rowCount() != expected) state.SkipWithError("wrong rows");
        clearSearchTexts();
        j->display();
        j->post(find);
        QTest::keyClick(j->list()->view(), Qt::Key_Home);
        state.ResumeTiming();
    }
    closeJournal(j);
    peak.report(state);
}

void BM_SearchNothing(benchmark::State& state) {
    searchBench(state, kNothing, 0);
}

void BM_SearchOneInTheMiddle(benchmark::State& state) {
    searchBench(state, kTheOne, 1);
}

// The record-file layer alone, for comparison with grep: the journal's read of a page with
// the search that matches nothing, run by the store inside its query.
void BM_StoreSearchNothing(benchmark::State& state) {
    journal(static_cast<int>(state.range(0)));
    RecordFile file(rewFile());
    file.open();
    const auto filter = JournalSearch("", "", utf8ToCp1251(kNothing), "").filter();
    std::vector<Row> rows;
    for (auto _ : state) {
        rows.clear();
        file.read(journalOrder(), Position::first(), Direction::Forward, 40, rows, filter);
        if (!rows.empty()) state.SkipWithError("found");
    }
}

void BM_Grep(benchmark::State& state) {
    journal(static_cast<int>(state.range(0)));
    const std::string cmd =
        std::string("LC_ALL=C grep -F -c '") + kNothing + "' export.txt > /dev/null";
    for (auto _ : state) {
        const int rc = std::system(cmd.c_str());
        benchmark::DoNotOptimize(rc);
    }
    state.counters["export_MB"] =
        static_cast<double>(std::filesystem::file_size("export.txt")) / (1024.0 * 1024.0);
}

// Grouped by size, so each journal is built once.
#define JOURNAL_BENCHES(n)                                                     \
    BENCHMARK(BM_OpenToFirstPage)->Arg(n)->Unit(benchmark::kMillisecond);      \
    BENCHMARK(BM_ScrollPage)->Arg(n)->Unit(benchmark::kMillisecond);           \
    BENCHMARK(BM_JumpToEnd)->Arg(n)->Unit(benchmark::kMillisecond);            \
    BENCHMARK(BM_SearchNothing)->Arg(n)->Unit(benchmark::kMillisecond);        \
    BENCHMARK(BM_SearchOneInTheMiddle)->Arg(n)->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_StoreSearchNothing)->Arg(n)->Unit(benchmark::kMillisecond);   \
    BENCHMARK(BM_Grep)->Arg(n)->Unit(benchmark::kMillisecond)

JOURNAL_BENCHES(kSmall);
JOURNAL_BENCHES(kBig);

}  // namespace
}  // namespace pordex

BENCHMARK_MAIN();
