#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "platform/report/preview_window.h"
#include "platform/report/progress_window.h"
#include "platform/report/report_windows.h"
#include "window_wait.h"

namespace pordex::report {
namespace {

using test::visibleWindow;
using test::waitUntil;

// Records that take a while each, so a run lasts several timer ticks.
class SlowRecords : public RecordSource {
  public:
    SlowRecords(long count, int msEach) : count_(count), msEach_(msEach) {}
    long records() override { return count_; }
    bool next() override {
        if (read_ >= count_) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(msEach_));
        ++read_;
        return true;
    }
    long read() const { return read_; }

  private:
    long count_;
    int msEach_;
    long read_ = 0;
};

const BandField kField[] = {{"X", {10, 10}, {"Courier", 10, false}}};
const ReportLayout kLayout{"test_report",
                           {"Arial", 10, false},
                           {61, 0, 518, 596},
                           {{1, 1, 518, 587}, {"Courier", 8, false}, kField, {}, {}}};

class ProgressWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { caller.show(); }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &caller && w->isVisible()) w->close();
        QTest::qWait(20);
    }

    ReportRun::RecordStep numberedPages() {
        return [this] { return PageValues{std::to_string(++steps)}; };
    }

    QWidget caller;
    int steps = 0;
};

TEST_F(ProgressWindowTest, RunsEveryRecordShowsProgressAndClosesCompleted) {
    SlowRecords records(12, 20);
    ReportRun run(records, numberedPages());
    std::vector<Response> responses;
    int restored = 0;
    int saved = 0;
    WindowPlacement placement{[&](QWidget&) { ++restored; }, [&](QWidget&) { ++saved; }};
    auto* window = new ProgressWindow(&caller, QStringLiteral("Подготовка ....."), run, placement);
    QPointer<ProgressWindow> alive(window);
    window->start([&](Response r) { responses.push_back(r); });

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowModality(), Qt::WindowModal);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Подготовка ....."));
    EXPECT_EQ(restored, 1);
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("?Progress:Thermometer"));
    auto* pct = window->findChild<QLabel*>(QStringLiteral("?Progress:PctText"));
    auto* status = window->findChild<QLabel*>(QStringLiteral("?Progress:UserString"));
    ASSERT_TRUE(bar && pct && status);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_TRUE(status->text().isEmpty());

    // Part way through, the bar and the percentage agree with the records read.
    ASSERT_TRUE(waitUntil([&] { return records.read() > 0 || !responses.empty(); }));
    if (responses.empty()) {
        EXPECT_GT(bar->value(), 0);
        EXPECT_LT(bar->value(), 100);
        EXPECT_EQ(pct->text(), QStringLiteral("%1%").arg(bar->value()));
    }

    ASSERT_TRUE(waitUntil([&] { return !responses.empty(); }));
    EXPECT_EQ(responses, std::vector<Response>{Response::Completed});
    EXPECT_EQ(records.read(), 12);
    EXPECT_EQ(run.pages().size(), 12u);
    EXPECT_EQ(run.pages().back(), PageValues{"12"});
    EXPECT_EQ(saved, 1);
    ASSERT_TRUE(waitUntil([&] { return alive.isNull(); }));  // the window is gone
}

TEST_F(ProgressWindowTest, CancelStopsTheRunAndAnswersCancelled) {
    SlowRecords records(100000, 5);
    ReportRun run(records, numberedPages());
    std::vector<Response> responses;
    auto* window = new ProgressWindow(&caller, QStringLiteral("Подготовка ....."), run);
    window->start([&](Response r) { responses.push_back(r); });
    ASSERT_TRUE(waitUntil([&] { return records.read() > 0; }));

    auto* cancel = window->findChild<QPushButton*>(QStringLiteral("?Progress:Cancel"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    QTest::mouseClick(cancel, Qt::LeftButton);

    EXPECT_EQ(responses, std::vector<Response>{Response::Cancelled});
    const long readAtCancel = records.read();
    QTest::qWait(3 * ProgressWindow::kTimerMs);
    EXPECT_EQ(records.read(), readAtCancel);  // nothing more is read
    EXPECT_EQ(responses.size(), 1u);
    EXPECT_LT(readAtCancel, 100000);
}

TEST_F(ProgressWindowTest, EscapeCancelsLikeTheButton) {
    SlowRecords records(100000, 5);
    ReportRun run(records, numberedPages());
    std::vector<Response> responses;
    auto* window = new ProgressWindow(&caller, QStringLiteral("Подготовка ....."), run);
    window->start([&](Response r) { responses.push_back(r); });
    ASSERT_TRUE(waitUntil([&] { return records.read() > 0; }));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(responses, std::vector<Response>{Response::Cancelled});
}

// The whole engine: a cancelled run shows no preview; a completed one shows its pages and
// answers when the preview closes; a run with no record shows nothing.
TEST_F(ProgressWindowTest, ShowReportChainsProgressAndPreview) {
    {
        SlowRecords records(100000, 5);
        ReportRun run(records, numberedPages());
        std::vector<Response> responses;
        showReport(&caller, kLayout, run, {QStringLiteral("Подготовка ....."), {}, {}},
                   [&](Response r) { responses.push_back(r); });
        ASSERT_TRUE(waitUntil([&] { return records.read() > 0; }));
        auto* progress = visibleWindow<ProgressWindow>(QStringLiteral("ProgressWindow"));
        ASSERT_NE(progress, nullptr);
        QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("?Progress:Cancel")),
                          Qt::LeftButton);
        QTest::qWait(50);
        EXPECT_EQ(responses, std::vector<Response>{Response::Cancelled});
        EXPECT_EQ(visibleWindow<PreviewWindow>(QStringLiteral("PreviewWindow")), nullptr);
    }
    {
        SlowRecords records(2, 1);
        ReportRun run(records, numberedPages());
        std::vector<Response> responses;
        showReport(&caller, kLayout, run, {QStringLiteral("Подготовка ....."), {}, {}},
                   [&](Response r) { responses.push_back(r); });
        PreviewWindow* preview = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            preview = visibleWindow<PreviewWindow>(QStringLiteral("PreviewWindow"));
            return preview != nullptr;
        }));
        EXPECT_TRUE(responses.empty());  // the caller waits for the preview
        EXPECT_EQ(preview->pageCount(), 2);
        EXPECT_EQ(preview->windowModality(), Qt::WindowModal);
        EXPECT_EQ(preview->parentWidget(), &caller);
        preview->reject();
        ASSERT_TRUE(waitUntil([&] { return !responses.empty(); }));
        EXPECT_EQ(responses, std::vector<Response>{Response::Completed});
    }
    {
        SlowRecords records(0, 0);
        ReportRun run(records, numberedPages());
        std::vector<Response> responses;
        showReport(&caller, kLayout, run, {QStringLiteral("Подготовка ....."), {}, {}},
                   [&](Response r) { responses.push_back(r); });
        ASSERT_TRUE(waitUntil([&] { return !responses.empty(); }));
        EXPECT_EQ(responses, std::vector<Response>{Response::Completed});
        EXPECT_EQ(visibleWindow<PreviewWindow>(QStringLiteral("PreviewWindow")), nullptr);
    }
}

}  // namespace
}  // namespace pordex::report
