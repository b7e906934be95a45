#include "data/dictionary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "data/window_thread.h"
#include "files/error_recorder.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

class DictionaryTest : public ::testing::Test {
  protected:
    test::TempWorkdir dir;
    test::ErrorRecorder errors;
};

TEST_F(DictionaryTest, StoreIsBuiltAndTornDownInTheFileOrder) {
    const std::vector<std::string> order = {"REW", "BL2", "KBP", "KNN", "KSZ",
                                            "MCO", "POL", "BIK", "PRP"};
    std::vector<std::string> steps;
    {
        Dictionary dct(Dictionary::Start::Deferred);
        dct.setTrace([&](std::string_view step, std::string_view label) {
            steps.push_back(std::string(step) + " " + std::string(label));
        });
        EXPECT_FALSE(dct.initialised());
        EXPECT_FALSE(dct.Access.REW.initialised());
        dct.DctInit();
        dct.DctInit();  // a second call builds nothing twice
        EXPECT_TRUE(dct.Access.PRP.initialised());
        EXPECT_TRUE(dct.Relate.BIK.initialised());
    }  // the destructor tears the store down
    std::vector<std::string> expected;
    for (const auto& l : order) expected.push_back("init " + l);
    for (const auto& l : order) expected.push_back("kill " + l);
    EXPECT_EQ(steps, expected);
}

TEST_F(DictionaryTest, MainThreadBuildsItsStoreOnlyInTheEntry) {
    WindowThread main(WindowThread::Kind::Main);
    EXPECT_TRUE(main.isMain());
    EXPECT_FALSE(main.dct.initialised());
    main.dct.DctInit();
    EXPECT_TRUE(main.dct.initialised());

    WindowThread journal;
    EXPECT_TRUE(journal.dct.initialised());
    EXPECT_EQ(journal.GlobalRequest, 0);
    EXPECT_EQ(journal.GlobalResponse, 0);
    EXPECT_EQ(journal.VCRRequest, 0);
}

TEST_F(DictionaryTest, OpensAreLazyAndCounted) {
    WindowThread t;
    auto& rew = t.dct.Access.REW;
    t.dct.Relate.REW.open();                                // the journal
    t.dct.Relate.REW.open();                                // the form on the same thread
    EXPECT_FALSE(std::filesystem::exists("DATA/Rew.dat"));  // only registered
    EXPECT_FALSE(rew.reallyOpen());
    EXPECT_EQ(rew.count(), 0);  // first use opens (and here creates) it
    EXPECT_TRUE(rew.reallyOpen());
    EXPECT_TRUE(std::filesystem::exists("DATA/Rew.dat"));
    t.dct.Relate.REW.close();
    EXPECT_TRUE(rew.reallyOpen());
    EXPECT_EQ(t.dct.Relate.REW.openCount(), 1);
    t.dct.Relate.REW.close();
    EXPECT_FALSE(rew.reallyOpen());
    t.dct.Relate.REW.close();  // one close too many changes nothing
    EXPECT_EQ(t.dct.Relate.REW.openCount(), 0);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(DictionaryTest, PrimingAPaymentOrderMarksItNew) {
    WindowThread t;
    auto& rew = t.dct.Access.REW;
    t.dct.REW.N_DOK = "12";
    t.dct.REW.SUMMA = 5;
    rew.prime();
    EXPECT_TRUE(t.dct.REW.N_DOK.blank());
    EXPECT_EQ(REAL{t.dct.REW.SUMMA}, 0);  // copied: packed fields take no reference
    EXPECT_EQ(t.dct.REW.N_D.utf8(), "N");

    t.dct.REW.N_DOK = "12";
    t.dct.REW.N_D = "X";
    rew.prime(true);
    EXPECT_EQ(t.dct.REW.N_DOK.utf8(), "12");
    EXPECT_EQ(t.dct.REW.N_D.utf8(), "N");

    t.dct.KBP.NOMER = 4;
    t.dct.Access.KBP.prime();
    EXPECT_EQ(SHORT{t.dct.KBP.NOMER}, 0);
    EXPECT_TRUE(t.dct.KBP.N_PLA.blank());
}

// Adds an order as the form saves it: DDD = 99999 - document date.
void save(WindowThread& t, LONG date, const char* number) {
    t.dct.Access.REW.prime();
    t.dct.REW.D_DOK = date;
    t.dct.REW.DDD = 99999 - date;
    t.dct.REW.N_DOK = number;
    ASSERT_TRUE(t.dct.Access.REW.insert());
}

TEST_F(DictionaryTest, JournalOrderEdgeCases) {
    WindowThread t;
    t.dct.Relate.REW.open();
    save(t, 80000, "1");
    save(t, 99999, "2");  // DDD 0: stored, outside the key
    save(t, 0, "3");      // no date: DDD 99999, listed last
    save(t, 80000, "10");
    save(t, 80001, "4");
    save(t, 80000, "9");  // same date: all kept, highest number (as text) first
    EXPECT_EQ(t.dct.Access.REW.count(), 6);

    std::vector<std::string> journal;
    t.dct.Access.REW.set(REW_KEY_4);
    while (t.dct.Access.REW.next()) journal.push_back(t.dct.REW.N_DOK.utf8());
    EXPECT_EQ(journal, (std::vector<std::string>{"4", "9", "10", "1", "3"}));
    EXPECT_EQ(t.dct.Access.REW.lastStatus(), files::Status::NotFound);

    std::vector<std::string> back;
    t.dct.Access.REW.set(REW_KEY_4);
    while (t.dct.Access.REW.previous()) back.push_back(t.dct.REW.N_DOK.utf8());
    EXPECT_EQ(back, (std::vector<std::string>{"3", "1", "10", "9", "4"}));

    std::vector<std::string> file;
    t.dct.Access.REW.set(FILE_ORDER);
    while (t.dct.Access.REW.next()) file.push_back(t.dct.REW.N_DOK.utf8());
    EXPECT_EQ(file, (std::vector<std::string>{"1", "2", "3", "10", "4", "9"}));

    // The locator: the first order at or after a key value.
    t.dct.REW.DDD = 99999 - 80000;
    t.dct.Access.REW.setAt(REW_KEY_4);
    ASSERT_TRUE(t.dct.Access.REW.next());
    EXPECT_EQ(t.dct.REW.N_DOK.utf8(), "9");
    t.dct.Relate.REW.close();
}

TEST_F(DictionaryTest, ChangeAndDeleteWorkOnTheRecordLastRead) {
    WindowThread t;
    auto& kbp = t.dct.Access.KBP;
    t.dct.Relate.KBP.open();
    for (SHORT n : {1, 2, 3}) {
        kbp.prime();
        t.dct.KBP.NOMER = n;
        t.dct.KBP.N_PLA = "Плательщик " + std::to_string(n);
        ASSERT_TRUE(kbp.insert());
    }
    t.dct.KBP.NOMER = 2;
    ASSERT_TRUE(kbp.fetch(KBP_KEY_1));
    EXPECT_EQ(t.dct.KBP.N_PLA.utf8(), "Плательщик 2");
    t.dct.KBP.N_PLA = "Изменен";
    ASSERT_TRUE(kbp.update());
    t.dct.KBP.NOMER = 3;
    ASSERT_TRUE(kbp.fetch(KBP_KEY_1));
    ASSERT_TRUE(kbp.deleteRecord());
    EXPECT_EQ(kbp.count(), 2);

    // A miss leaves the buffer as it was and shows nothing.
    t.dct.KBP.NOMER = 7;
    t.dct.KBP.N_PLA = "ищу";
    EXPECT_FALSE(kbp.fetch(KBP_KEY_1));
    EXPECT_EQ(kbp.lastStatus(), files::Status::NotFound);
    EXPECT_EQ(t.dct.KBP.N_PLA.utf8(), "ищу");

    std::vector<std::string> names;
    kbp.set(KBP_KEY_1);
    while (kbp.next()) names.push_back(t.dct.KBP.N_PLA.utf8());
    EXPECT_EQ(names, (std::vector<std::string>{"Плательщик 1", "Изменен"}));
    EXPECT_TRUE(errors.reports().empty());

    // A number already taken is refused with the framework's message; the buffer stays.
    kbp.prime();
    t.dct.KBP.NOMER = 1;
    EXPECT_FALSE(kbp.insert());
    EXPECT_EQ(errors.titles(), (std::vector<std::string>{"Ошибка дублирования в ключе"}));
    EXPECT_EQ(SHORT{t.dct.KBP.NOMER}, 1);
    EXPECT_EQ(t.GlobalErrorStatus.reports, 1);
    EXPECT_EQ(t.GlobalErrorStatus.last.title, "Ошибка дублирования в ключе");
}

TEST_F(DictionaryTest, PrintFileWithNoneOrTwoRecords) {
    WindowThread t;
    auto count = [&] {
        int n = 0;
        t.dct.Access.PRP.set();
        while (t.dct.Access.PRP.next()) ++n;
        return n;
    };
    t.dct.Relate.PRP.open();
    EXPECT_EQ(count(), 0);
    EXPECT_TRUE(std::filesystem::exists("PRP"));
    for (int i = 0; i < 2; ++i) {
        t.dct.Access.PRP.prime();
        ASSERT_TRUE(t.dct.Access.PRP.insert());
    }
    EXPECT_EQ(count(), 2);
    t.dct.Relate.PRP.close();
}

TEST_F(DictionaryTest, TwoThreadsHaveTheirOwnBuffersAndFiles) {
    WindowThread a, b;
    EXPECT_NE(&a.dct.REW, &b.dct.REW);
    a.dct.Relate.KBP.open();
    b.dct.Relate.KBP.open();
    a.dct.Access.KBP.prime();
    a.dct.KBP.NOMER = 1;
    a.dct.KBP.N_PLA = "от потока A";
    ASSERT_TRUE(a.dct.Access.KBP.insert());
    EXPECT_TRUE(b.dct.KBP.N_PLA.blank());  // nothing crosses into the other buffer

    b.dct.KBP.NOMER = 1;
    ASSERT_TRUE(b.dct.Access.KBP.fetch(KBP_KEY_1));  // but the file is shared
    EXPECT_EQ(b.dct.KBP.N_PLA.utf8(), "от потока A");

    a.dct.Relate.KBP.close();  // closing one thread's windows leaves the other working
    EXPECT_FALSE(a.dct.Access.KBP.reallyOpen());
    EXPECT_TRUE(b.dct.Access.KBP.reallyOpen());
    EXPECT_EQ(b.dct.Access.KBP.count(), 1);
    b.dct.Relate.KBP.close();
}

TEST_F(DictionaryTest, JournalsOnTwoThreadsAddingAtOnceLoseNothing) {
    auto journal = [](int first, bool& ok) {
        WindowThread t;
        t.dct.Relate.REW.open();
        ok = true;
        for (int i = 0; i < 100; ++i) {
            t.dct.Access.REW.prime();
            t.dct.REW.N_DOK = std::to_string(first + i);
            t.dct.REW.DDD = 1 + i;
            ok = ok && t.dct.Access.REW.insert();
        }
        t.dct.Relate.REW.close();
    };
    bool okA = false, okB = false;
    std::thread ta(journal, 0, std::ref(okA)), tb(journal, 1000, std::ref(okB));
    ta.join();
    tb.join();
    EXPECT_TRUE(okA && okB);
    WindowThread t;
    EXPECT_EQ(t.dct.Access.REW.count(), 200);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(DictionaryTest, OperationsOutsideTheStoreFailQuietly) {
    Dictionary dct(Dictionary::Start::Deferred);
    EXPECT_FALSE(dct.Access.REW.insert());
    EXPECT_FALSE(dct.Access.REW.next());
    EXPECT_EQ(dct.Access.REW.count(), 0);
    dct.Relate.REW.open();
    dct.DctInit();
    dct.DctKill();
    EXPECT_FALSE(dct.Access.REW.fetch(REW_KEY_4));
    EXPECT_TRUE(errors.reports().empty());
}

}  // namespace
}  // namespace pordex
