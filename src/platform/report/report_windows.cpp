#include "platform/report/report_windows.h"

#include "platform/report/progress_window.h"

namespace pordex::report {

void showReport(QWidget* caller, const ReportLayout& layout, ReportRun& run,
                ReportWindowOptions options, std::function<void(Response)> done) {
    auto* progress =
        new ProgressWindow(caller, options.progressTitle, run, options.progressPlacement);
    progress->start([caller, &layout, &run, preview = std::move(options.preview),
                     done = std::move(done)](Response response) mutable {
        if (response == Response::Cancelled) {
            if (done) done(Response::Cancelled);
            return;
        }
        std::vector<PageValues> pages = run.takePages();
        if (pages.empty()) {
            if (done) done(Response::Completed);
            return;
        }
        auto* window = new PreviewWindow(caller, layout, std::move(pages), std::move(preview));
        window->start([done = std::move(done)] {
            if (done) done(Response::Completed);
        });
    });
}

}  // namespace pordex::report
