#include "platform/files/error_manager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace pordex::files {
namespace {

class Recorder : public ErrorPresenter {
  public:
    std::vector<ErrorReport> seen;
    std::vector<std::string>* log = nullptr;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    void present(const ErrorReport& r) override {
        if (inside.fetch_add(1) != 0) overlapped = true;
        std::this_thread::yield();
        seen.push_back(r);
        if (log) log->push_back("shown " + r.title);
        inside.fetch_sub(1);
    }
};

TEST(ErrorManager, FatalMessageIsConfirmedThenEndsTheProgram) {
    ErrorManager em;
    auto rec = std::make_shared<Recorder>();
    std::vector<std::string> log;
    rec->log = &log;
    em.setPresenter(rec);
    em.setEndProgram([&] { log.push_back("end"); });
    em.setProcedureName("rew_tab");
    ErrorStatus status;

    em.report(ErrorKind::Notice, "Неверный ключ", "текст", &status);
    EXPECT_EQ(log, (std::vector<std::string>{"shown Неверный ключ"}));
    em.report(ErrorKind::Fatal, "Ошибка доступа к файлу", "Файл X не может быть открыт.", &status);
    EXPECT_EQ(log, (std::vector<std::string>{"shown Неверный ключ", "shown Ошибка доступа к файлу",
                                             "end"}));
    ASSERT_EQ(rec->seen.size(), 2u);
    EXPECT_EQ(rec->seen[0].text, "текст");
    EXPECT_EQ(rec->seen[1].text, "Файл X не может быть открыт.  Press OK to end this application");
    EXPECT_EQ(rec->seen[1].procedure, "rew_tab");
    EXPECT_EQ(status.reports, 2);
    EXPECT_EQ(status.last.title, "Ошибка доступа к файлу");

    em.setProcedureName();
    em.report(ErrorKind::Notice, "t", "x");
    EXPECT_EQ(rec->seen.back().procedure, "");
}

TEST(ErrorManager, ReportsFromManyThreadsAreShownOneAtATime) {
    ErrorManager em;
    auto rec = std::make_shared<Recorder>();
    em.setPresenter(rec);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) em.report(ErrorKind::Notice, "t", "x");
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(rec->seen.size(), 800u);
    EXPECT_FALSE(rec->overlapped);
}

// A presenter that itself reports (a message box whose handling fails) must not lock up.
TEST(ErrorManager, AReportMadeWhileAMessageIsShownDoesNotDeadlock) {
    ErrorManager em;
    struct Nested : ErrorPresenter {
        ErrorManager* em = nullptr;
        int depth = 0, shown = 0;
        void present(const ErrorReport&) override {
            ++shown;
            if (depth++ == 0) em->report(ErrorKind::Notice, "inner", "x");
        }
    };
    auto nested = std::make_shared<Nested>();
    nested->em = &em;
    em.setPresenter(nested);
    em.report(ErrorKind::Notice, "outer", "x");
    EXPECT_EQ(nested->shown, 2);
}

}  // namespace
}  // namespace pordex::files
