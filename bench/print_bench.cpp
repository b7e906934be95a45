// The printed payment order: the record step, and one page painted to PDF (the saved report and
// the printer take this path) and onto a screen image at the preview's zoom 100.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "data/globals.h"
#include "platform/report/page_painter.h"
#include "platform/runtime/date.h"
#include "print/payment_order_layout.h"
#include "print/pr_plat_record.h"

namespace {

using namespace pordex;

void ensureApp() {
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "print_bench";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

// A full order: every field of the page has text, the purpose carries the VAT clause.
void fillSnapshot() {
    Globals& g = globals();
    g.N_DOK_REW = "1234";
    g.D_DOK_REW = DATE(7, 1, 2005);
    g.STRI_REW = "электронно";
    g.N_SC_A_REW = "40702810900000000001";
    g.MFO_A = 44525225;
    g.K_SC_A = "30101810400000000225";
    g.BANK_PLA = "ПАО СБЕРБАНК РОССИИ г. МОСКВА";
    g.N_PLA_REW = "ОБЩЕСТВО С ОГРАНИЧЕННОЙ ОТВЕТСТВЕННОСТЬЮ \"РОМАШКА И КОМПАНИЯ\"";
    g.INN_PLA = "770123456789";
    g.MFO_B_REW = 42809679;
    g.K_SC_B_REW = "30101810700000000679";
    g.N_BANK_REW = "ОТДЕЛЕНИЕ ТВЕРЬ БАНКА РОССИИ";
    g.N_SC_B_REW = "40101810600000010005";
    g.N_POL_REW = "УФК ПО ТВЕРСКОЙ ОБЛАСТИ (МРИ ФНС РОССИИ N 1 ПО ТВЕРСКОЙ ОБЛАСТИ)";
    g.INN_POL = "6901234567";
    g.SORT_REW = 5;
    g.SUMMA_REW = 1234567.89;
    g.NAME_REW =
        "Налог на доходы физических лиц за июнь 2005 года по расчету N 15 от 30.06.2005 "
        "в т.ч. НДС не облагается";
    g.N_D = "N";
    g.G101 = "01";
    g.G102 = "770101001";
    g.G103 = "690101001";
    g.G104 = "18210102010011000110";
    g.G105 = "28401000000";
    g.G106 = "ТП";
    g.G107_1 = "МС";
    g.G107_2 = "06";
    g.G107_3 = "2005";
    g.G108 = "0";
    g.G109_1 = "30";
    g.G109_2 = "06";
    g.G109_3 = "2005";
    g.G110 = "НС";
}

report::PageValues samplePage() {
    fillSnapshot();
    print::PrPlatFields f;
    print::prPlatRecordStep(f);
    return print::prPlatPage(f);
}

void BM_RecordStep(benchmark::State& state) {
    fillSnapshot();
    for (auto _ : state) {
        print::PrPlatFields f;
        print::prPlatRecordStep(f);
        benchmark::DoNotOptimize(print::prPlatPage(f));
    }
}
BENCHMARK(BM_RecordStep);

void BM_PagePdf(benchmark::State& state) {
    ensureApp();
    const std::vector<report::PageValues> pages{samplePage()};
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("order.pdf"));
    for (auto _ : state) {
        if (!report::writePdf(file, print::paymentOrderLayout(), pages)) {
            state.SkipWithError("the PDF could not be written");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(file).size());
}
BENCHMARK(BM_PagePdf)->Unit(benchmark::kMillisecond);

void BM_PageScreenImage(benchmark::State& state) {
    ensureApp();
    const report::PageValues page = samplePage();
    const double dpi = 96;  // zoom 100 on an ordinary screen
    QImage image(static_cast<int>(595 * dpi / 72), static_cast<int>(842 * dpi / 72),
                 QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        report::setPageTransform(p, dpi);
        report::paintPage(p, print::paymentOrderLayout(), page);
    }
}
BENCHMARK(BM_PageScreenImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
