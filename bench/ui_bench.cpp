// The window framework: from the start of the program to the application frame shown, and a
// list over 10^3 and 10^6 payment orders (in the journal's key order) opened and scrolled a page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "app/program_entry.h"
#include "app/ui/main_frame.h"
#include "data/file_layouts.h"
#include "platform/files/record_file.h"
#include "platform/ui/browse_list.h"
#include "platform/ui/platform_setup.h"
#include "platform/ui/settings_store.h"
#include "platform/ui/window_procedure.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

int argc = 1;
char arg0[] = "ui_bench";
char* argv[] = {arg0, nullptr};

void offscreen() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void flush() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the program does from its start to the frame on the screen: the application object, the
// framework's set-up, the settings store and the main thread's data store, the frame opened and
// painted once.
void BM_StartToFrameShown(benchmark::State& state) {
    offscreen();
    test::TempWorkdir work;
    for (auto _ : state) {
        auto app = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        ui::installPlatform();
        {
            app::ProgramEntry entry;
            entry.begin(work.ini());
            app::MainFrame frame(entry.mainThread());
            frame.open();
            frame.grab();  // painted once
            benchmark::DoNotOptimize(frame.isVisible());
            state.PauseTiming();
            frame.close();
            flush();
            entry.end();
        }
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFrameShown)->Unit(benchmark::kMillisecond);

// A list window on the journal's file and key.
struct ListWindow : ui::WindowProcedure {
    static const std::vector<ui::ControlDecl>& controls() {
        static const std::vector<ui::ControlDecl> c = {
            {.kind = ui::ControlKind::List,
             .name = "?LIST",
             .x = 0,
             .y = 58,
             .w = 376,
             .h = 151,
             .use = "REW",
             .key = "KEY_4",
             .columns =
                 {{.header = "Дата", .field = "REW:D_DOK", .picture = "d6", .width = 44},
                  {.header = "Nдок", .field = "REW:N_DOK", .picture = "s5", .width = 21},
                  {.header = "БИК банка", .field = "REW:MFO_B", .picture = "n09", .width = 41},
                  {.header = "Л/с получателя",
                   .field = "REW:N_SC_B",
                   .picture = "s20",
                   .width = 85},
                  {.header = "Сумма", .field = "REW:SUMMA", .picture = "n18.2", .width = 65}},
             .locator = true},
        };
        return c;
    }
    explicit ListWindow(WindowThread& t)
        : WindowProcedure(t, nullptr,
                          {.procedure = "rew_tab",
                           .title = "Журнал",
                           .w = 396,
                           .h = 289,
                           .resizable = true,
                           .controls = controls()}) {}
    void init() override { dct().Relate.REW.open(); }
    void kill() override { dct().Relate.REW.close(); }
};

// One working folder per size, filled once for the whole run.
test::TempWorkdir& folderWith(int orders) {
    static std::map<int, std::unique_ptr<test::TempWorkdir>> folders;
    auto& f = folders[orders];
    if (f) {
        std::filesystem::current_path(f->path());
        return *f;
    }
    f = std::make_unique<test::TempWorkdir>();
    files::RecordFile file(rewFile());
    file.open();
    std::vector<RewRecord> batch;
    batch.reserve(10000);
    for (int i = 0; i < orders; ++i) {
        RewRecord r{};
        r.N_D = "N";
        r.D_DOK = 80000 + i % 3650;
        r.DDD = 99999 - r.D_DOK;
        r.N_DOK = std::to_string(i % 100000);
        r.MFO_B = 44525225;
        r.N_SC_B = "40702810400000012345";
        r.SUMMA = 1000 + i;
        batch.push_back(r);
        if (batch.size() == batch.capacity()) {
            file.insertAll(batch.data(), batch.size());
            batch.clear();
        }
    }
    if (!batch.empty()) file.insertAll(batch.data(), batch.size());
    return *f;
}

void BM_ListOpenAndScrollPage(benchmark::State& state) {
    offscreen();
    auto app = std::make_unique<QApplication>(argc, argv);
    ui::installPlatform();
    test::TempWorkdir& work = folderWith(static_cast<int>(state.range(0)));
    ui::iniMgr().init(work.ini());
    std::size_t rowsRead = 0;
    for (auto _ : state) {
        WindowThread thread;
        auto* w = new ListWindow(thread);
        w->run();
        auto* list = w->controlAs<ui::BrowseList>("?LIST");
        QTest::keyClick(list->view(), Qt::Key_PageDown);
        QTest::keyClick(list->view(), Qt::Key_PageDown);
        benchmark::DoNotOptimize(w->dct().REW.DDD);
        rowsRead = list->model()->recordsRead();
        state.PauseTiming();
        w->closeWith(ui::WindowProcedure::RequestCancelled);
        flush();
        state.ResumeTiming();
    }
    state.counters["records_read"] = static_cast<double>(rowsRead);
    ui::iniMgr().close();
    app.reset();
}
BENCHMARK(BM_ListOpenAndScrollPage)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pordex

BENCHMARK_MAIN();
