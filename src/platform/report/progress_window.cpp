#include "platform/report/progress_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace pordex::report {

namespace {

// The window is designed in dialog units, which Windows derives from the window's font: a
// quarter of the average character width across, an eighth of the character height down.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics fm(font);
        const int letters = fm.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        baseX_ = (letters / 26 + 1) / 2;
        baseY_ = fm.height();
    }
    int x(int du) const { return (du * baseX_ + 2) / 4; }
    int y(int du) const { return (du * baseY_ + 4) / 8; }

  private:
    int baseX_;
    int baseY_;
};

}  // namespace

ProgressWindow::ProgressWindow(QWidget* caller, const QString& title, ReportRun& run,
                               WindowPlacement placement)
    : QDialog(caller), run_(run), placement_(std::move(placement)) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Liberation Sans"), 8));

    const DialogUnits du(font());
    setFixedSize(du.x(142), du.y(59));

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("?Progress:Thermometer"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setGeometry(du.x(15), du.y(15), du.x(111), du.y(12));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("?Progress:UserString"));
    status_->setAlignment(Qt::AlignCenter);
    status_->setGeometry(du.x(0), du.y(3), du.x(141), du.y(10));

    percent_ = new QLabel(this);
    percent_->setObjectName(QStringLiteral("?Progress:PctText"));
    percent_->setAlignment(Qt::AlignCenter);
    percent_->setGeometry(du.x(0), du.y(30), du.x(141), du.y(10));

    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("?Progress:Cancel"));
    cancel_->setGeometry(du.x(45), du.y(42), du.x(50), du.y(15));
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, [this] { finish(Response::Cancelled); });

    timer_.setInterval(kTimerMs);
    connect(&timer_, &QTimer::timeout, this, &ProgressWindow::tick);
}

void ProgressWindow::start(Done done) {
    done_ = std::move(done);
    open();
    if (placement_.restore) placement_.restore(*this);
    timer_.start();
}

void ProgressWindow::reject() {
    finish(Response::Cancelled);
}

void ProgressWindow::tick() {
    if (finished_) return;
    // Work for part of the tick, then give the window back to the user (and to "Cancel").
    QElapsedTimer slice;
    slice.start();
    bool more = true;
    while (more && slice.elapsed() < kTimerMs / 2) more = run_.step();
    bar_->setValue(run_.percent());
    percent_->setText(QStringLiteral("%1%").arg(run_.percent()));
    if (!more) finish(Response::Completed);
}

void ProgressWindow::finish(Response response) {
    if (finished_) return;
    finished_ = true;
    timer_.stop();
    if (placement_.save) placement_.save(*this);
    Done done = std::move(done_);
    done_ = nullptr;
    // The caller goes on after the window is gone, so what it opens next is modal on the
    // caller, not on this window.
    hide();
    QDialog::done(response == Response::Completed ? QDialog::Accepted : QDialog::Rejected);
    if (done) done(response);
}

}  // namespace pordex::report
