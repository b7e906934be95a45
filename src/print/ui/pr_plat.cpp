#include "print/ui/pr_plat.h"

#include <memory>
#include <string>

#include "data/globals.h"
#include "platform/files/error_manager.h"
#include "platform/report/report_run.h"
#include "platform/report/report_windows.h"
#include "print/payment_order_layout.h"
#include "print/pr_plat_record.h"

namespace pordex::print {

namespace {

// PR_PLAT's records: the records of PRP on the calling thread, in file order.
class PrpRecords : public report::RecordSource {
  public:
    explicit PrpRecords(FileManager<PrpRecord>& prp) : prp_(prp) { prp_.set(FILE_ORDER); }
    long records() override { return prp_.count(); }
    bool next() override { return prp_.next(); }

  private:
    FileManager<PrpRecord>& prp_;
};

// What lives while PR_PLAT runs: its print fields, PRP's reading and the report run.
struct PrPlatRun {
    explicit PrPlatRun(WindowThread& t)
        : thread(t), records(t.dct.Access.PRP), run(records, [this] {
              prPlatRecordStep(fields);
              return prPlatPage(fields);
          }) {}

    WindowThread& thread;
    PrPlatFields fields;
    PrpRecords records;
    report::ReportRun run;
    std::string previousProcedure;
};

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

const report::Captions& prPlatCaptions() {
    static const report::Captions captions = {
        {q("&File"), q("Файл")},
        {q("Exit"), q("Выход")},
        {q("Preview"), q("Предварительный просмотр")},
        {q("Print"), q("Печать")},
        {q("Print current page"), q("Печать текущей страницы")},
        {q("Print setup ...\tCtrl+P"), q("Настройка печати ...\tCtrl+P")},
        {q("Save\tCtrl+S"), q("Сохранить\tCtrl+S")},
        {q("Zoom"), q("Увеличение/уменьшение")},
        {q("Page"), q("Страница")},
        {q("Exit without printing"), q("Выход без печати")},
        {q("Enter page number from 1 to"), q("Введите номер страницы от 1 до")},
        {q("of"), q("из")},
        {q("Tile page"), q("Нормальный размер")},
        {q("Page width"), q("По ширине страницы")},
        {q("Zoom:"), q("Масштаб:")},
        {q("Select destination folder"), q("Выберите папку для сохранения отчета")},
        {q("Report succesfully saved at folder"), q("Отчет сохранен в директории")},
        {q("Save report"), q("Сохранение")},
        {q("Print setup"), q("Настройка печати")},
        {q("Print"), q("Печать")},
        {q("Cancel"), q("Отмена")},
        {q("Printer"), q("Принтер")},
        {q("Name"), q("Принтер:")},
        {q("Driver"), q("Драйвер:")},
        {q("Where"), q("Порт:")},
        {q("Properties..."), q("Свойства...")},
        {q("Pages"), q("Страницы")},
        {q("All"), q("Все")},
        {q("Pages"), q("Страницы")},
        {q("from"), q("с")},
        {q("Number of copies"), q("Количество копий")},
        {q("to"), q("по")},
    };
    return captions;
}

void PR_PLAT(WindowThread& thread, QWidget* caller, std::function<void(BYTE)> done) {
    thread.GlobalRequest = 0;
    thread.GlobalResponse = 0;

    // Opening: errors name this procedure, PRP is held, the amount in words starts blank.
    files::ErrorManager& errors = files::globalErrors();
    std::string previousProcedure = errors.procedureName();
    errors.setProcedureName("pr_plat");
    thread.dct.Relate.PRP.open();
    auto state = std::make_shared<PrPlatRun>(thread);
    state->previousProcedure = std::move(previousProcedure);
    Globals& g = globals();
    g.S_R = 0;
    g.S1.clear();
    g.S2.clear();
    g.S3.clear();

    report::ReportWindowOptions options;
    options.progressTitle = QString::fromUtf8("Подготовка .....");
    options.progressPlacement = prPlatPlacement(false);
    options.preview.zoom = 100;
    options.preview.userZoom = true;
    options.preview.captions = prPlatCaptions();
    options.preview.placement = prPlatPlacement(true);

    report::showReport(caller, paymentOrderLayout(), state->run, std::move(options),
                       [state, done = std::move(done)](report::Response response) {
                           // Closing: PRP let go, the caller's procedure name back.
                           WindowThread& t = state->thread;
                           t.dct.Relate.PRP.close();
                           if (state->previousProcedure.empty())
                               files::globalErrors().setProcedureName();
                           else
                               files::globalErrors().setProcedureName(state->previousProcedure);
                           const BYTE r = response == report::Response::Completed
                                              ? WindowThread::RequestCompleted
                                              : WindowThread::RequestCancelled;
                           t.GlobalResponse = r;
                           if (done) done(r);
                       });
}

}  // namespace pordex::print
