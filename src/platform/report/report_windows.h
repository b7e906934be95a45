#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "platform/report/preview_window.h"
#include "platform/report/report_run.h"

class QWidget;

namespace pordex::report {

struct ReportWindowOptions {
    QString progressTitle;
    WindowPlacement progressPlacement;
    PreviewWindow::Options preview;
};

// Runs a report the way the program shows every report: the progress window while the records
// are processed, then the pages in the preview, both window-modal on the caller. `done` gets
// Completed when the run reached its end (whether or not the user printed) and Cancelled when
// "Cancel" stopped it. A run that gives no page shows no preview. `run` must outlive the call
// to `done`.
void showReport(QWidget* caller, const ReportLayout& layout, ReportRun& run,
                ReportWindowOptions options, std::function<void(Response)> done);

}  // namespace pordex::report
