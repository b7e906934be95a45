#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "platform/report/report_run.h"
#include "platform/report/window_support.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace pordex::report {

// The window shown while a report runs over its records: a bar, a status line, the percentage
// and "Cancel". Its timer feeds the run a few records per tick so the window stays live; when
// the run ends (or is cancelled) the window closes itself and calls back with the response.
class ProgressWindow : public QDialog {
    Q_OBJECT
  public:
    using Done = std::function<void(Response)>;

    ProgressWindow(QWidget* caller, const QString& title, ReportRun& run,
                   WindowPlacement placement = {});

    // Opens window-modal on the caller and starts the run; `done` is called once, after the
    // window has closed.
    void start(Done done);

    void reject() override;  // Escape and the window's close button cancel like "Cancel"

    static constexpr int kTimerMs = 100;  // 10 hundredths of a second

  private:
    void tick();
    void finish(Response response);

    ReportRun& run_;
    WindowPlacement placement_;
    Done done_;
    QTimer timer_;
    QProgressBar* bar_;
    QLabel* status_;
    QLabel* percent_;
    QPushButton* cancel_;
    bool finished_ = false;
};

}  // namespace pordex::report
