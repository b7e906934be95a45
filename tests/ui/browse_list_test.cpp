#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "ui/test_windows.h"
#include "ui/ui_fixture.h"

namespace pordex::test {
namespace {

class BrowseListTest : public UiTest {
  protected:
    // A payers list on a thread of its own, as the main menu runs it.
    PayerList* openList() {
        auto thread = std::make_unique<WindowThread>();
        auto* w = new PayerList(*thread, nullptr);
        w->adoptThread(std::move(thread));
        w->run([this](BYTE r) { responses.push_back(r); });
        return w;
    }

    std::vector<BYTE> responses;
};

std::vector<KbpRecord> payers(int n) {
    std::vector<KbpRecord> v;
    for (int i = 1; i <= n; ++i)
        v.push_back(payer(static_cast<SHORT>(i), "Плательщик " + std::to_string(i)));
    return v;
}

TEST_F(BrowseListTest, EmptyListClearsTheBufferAndDisablesChangeAndDelete) {
    storeRecords<KbpRecord>({});
    PayerList* w = openList();
    // What the buffer held before must not pass for a highlighted row.
    w->dct().KBP = payer(7, "Остаток");
    w->list()->refresh();
    EXPECT_TRUE(w->list()->isEmpty());
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 0);
    EXPECT_TRUE(w->dct().KBP.N_PLA.blank());
    EXPECT_FALSE(w->control("?CHANGE")->isEnabled());
    EXPECT_FALSE(w->control("?DELETE")->isEnabled());
    EXPECT_TRUE(w->control("?SELECT")->isEnabled());
    EXPECT_TRUE(w->control("?INSERT")->isEnabled());

    QMenu* menu = w->list()->contextMenu();
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Добавить"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("&Изменить"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("&Удалить"));
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_FALSE(items[1]->isEnabled());
    EXPECT_FALSE(items[2]->isEnabled());

    // Change and delete on an empty list open nothing.
    QTest::keyClick(w->list()->view(), Qt::Key_Delete);
    QTest::keyClick(w->list()->view(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(w->nestedWindow(), nullptr);
}

TEST_F(BrowseListTest, TheBufferFollowsTheHighlightedRow) {
    storeRecords(payers(3));
    PayerList* w = openList();
    ui::BrowseList* l = w->list();
    EXPECT_EQ(l->currentRow(), 0);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 1);
    QTest::keyClick(l->view(), Qt::Key_Down);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 2);
    EXPECT_TRUE(w->dct().KBP.N_PLA.equalsUtf8("Плательщик 2"));
    QTest::keyClick(l->view(), Qt::Key_End);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 3);
    EXPECT_TRUE(w->control("?CHANGE")->isEnabled());
}

TEST_F(BrowseListTest, ColumnsShowTheirPicturesAndAlignment) {
    KbpRecord long_ = payer(12345, std::string(70, 'A') + "B");
    storeRecords<KbpRecord>({long_});
    PayerList* w = openList();
    ui::BrowseModel* m = w->list()->model();
    EXPECT_EQ(m->data(m->index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("12345"));
    // "s60" on a 160-character name shows its first 60 characters.
    EXPECT_EQ(m->data(m->index(0, 1), Qt::DisplayRole).toString(), QString(60, QLatin1Char('A')));
    EXPECT_TRUE(m->data(m->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight);
    EXPECT_TRUE(m->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHCenter);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Плательщик"));
    EXPECT_EQ(w->list()->view()->columnWidth(0), w->units().x(25));
}

// Every way of asking for an update opens the form with its request, on the list's thread.
TEST_F(BrowseListTest, KeysButtonsMouseAndMenuOpenTheFormWithTheirRequest) {
    storeRecords(payers(3));
    struct Case {
        const char* how;
        BYTE request;
        std::function<void(PayerList*)> act;
    };
    const std::vector<Case> cases = {
        {"Insert key", WindowThread::InsertRecord,
         [](PayerList* w) { QTest::keyClick(w->list()->view(), Qt::Key_Insert); }},
        {"Ctrl+Enter", WindowThread::ChangeRecord,
         [](PayerList* w) {
             QTest::keyClick(w->list()->view(), Qt::Key_Return, Qt::ControlModifier);
         }},
        {"Delete key", WindowThread::DeleteRecord,
         [](PayerList* w) { QTest::keyClick(w->list()->view(), Qt::Key_Delete); }},
        {"double click", WindowThread::ChangeRecord,
         [](PayerList* w) {
             QTableView* v = w->list()->view();
             const QRect r = v->visualRect(w->list()->model()->index(1, 0));
             QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
             QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, r.center());
         }},
        {"insert button", WindowThread::InsertRecord,
         [](PayerList* w) { w->controlAs<QPushButton>("?INSERT")->click(); }},
        {"change button", WindowThread::ChangeRecord,
         [](PayerList* w) { w->controlAs<QPushButton>("?CHANGE")->click(); }},
        {"delete button", WindowThread::DeleteRecord,
         [](PayerList* w) { w->controlAs<QPushButton>("?DELETE")->click(); }},
        {"menu &Добавить", WindowThread::InsertRecord,
         [](PayerList* w) { w->list()->contextMenu()->actions()[0]->trigger(); }},
        {"menu &Изменить", WindowThread::ChangeRecord,
         [](PayerList* w) { w->list()->contextMenu()->actions()[1]->trigger(); }},
        {"menu &Удалить", WindowThread::DeleteRecord,
         [](PayerList* w) { w->list()->contextMenu()->actions()[2]->trigger(); }},
    };
    PayerList* w = openList();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        c.act(w);
        auto* form = dynamic_cast<PayerForm*>(w->nestedWindow());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->request(), c.request);
        EXPECT_EQ(&form->thread(), &w->thread());
        EXPECT_EQ(form->windowModality(), Qt::WindowModal);
        EXPECT_EQ(w->thread().GlobalRequest, 0);
        if (c.request == WindowThread::InsertRecord) {
            EXPECT_EQ(int{w->dct().KBP.NOMER}, 0);
            EXPECT_TRUE(w->dct().KBP.N_PLA.blank());
        } else {
            EXPECT_NE(int{w->dct().KBP.NOMER}, 0);
        }
        form->closeWith(WindowThread::RequestCancelled);
        EXPECT_EQ(w->nestedWindow(), nullptr);
        EXPECT_EQ(w->thread().GlobalResponse, WindowThread::RequestCancelled);
        flush();
    }
    EXPECT_EQ(readRecords<KbpRecord>().size(), 3u);  // nothing was saved
}

TEST_F(BrowseListTest, SelectClosesCompletedAndCloseCancelled) {
    storeRecords(payers(2));
    PayerList* a = openList();
    QTest::keyClick(a->list()->view(), Qt::Key_Return);  // Enter is the select button's key
    ASSERT_EQ(responses.size(), 1u);
    EXPECT_EQ(responses[0], WindowThread::RequestCompleted);

    PayerList* b = openList();
    b->controlAs<QPushButton>("?CLOSE")->click();
    ASSERT_EQ(responses.size(), 2u);
    EXPECT_EQ(responses[1], WindowThread::RequestCancelled);
}

// The list reads the rows it shows: a file a hundred times larger costs the same to open and to
// page through, and walking it row by row meets every record once, in order.
TEST_F(BrowseListTest, ReadsOnlyThePagesItShowsAndWalksTheFileInOrder) {
    const int n = 3000;
    storeRecords(payers(n));
    PayerList* w = openList();
    ui::BrowseList* l = w->list();
    const std::size_t page = l->pageRows();
    EXPECT_LE(l->model()->recordsRead(), 3 * page);

    QTest::keyClick(l->view(), Qt::Key_End);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, n);
    QTest::keyClick(l->view(), Qt::Key_Home);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 1);
    EXPECT_LE(l->model()->recordsRead(), 10 * page);

    // Row by row over several page boundaries: no gap and no repeat.
    for (int expected = 2; expected <= static_cast<int>(4 * page); ++expected) {
        QTest::keyClick(l->view(), Qt::Key_Down);
        ASSERT_EQ(int{w->dct().KBP.NOMER}, expected);
    }
    // And back up with PageUp to the first record.
    for (int i = 0; i < 10 && w->dct().KBP.NOMER != 1; ++i)
        QTest::keyClick(l->view(), Qt::Key_PageUp);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 1);
    // The rows held stay a few pages, whatever the size of the file.
    EXPECT_LE(static_cast<std::size_t>(l->model()->rowCount()), 6 * page);

    // Scrolling with the bar to its end reads the next rows.
    auto lastShown = [&] {
        KbpRecord r;
        const files::Row& row = l->model()->row(l->model()->rowCount() - 1);
        std::memcpy(static_cast<void*>(&r), row.bytes.data(), sizeof r);
        return r.NOMER;
    };
    QScrollBar* sb = l->view()->verticalScrollBar();
    const SHORT before = lastShown();
    sb->setValue(sb->maximum());
    EXPECT_GT(lastShown(), before);
    EXPECT_LT(l->model()->recordsRead(), static_cast<std::size_t>(n) / 4);
}

// A list in key order with a step locator and a record test, the way the journal uses it.
struct RewListWindow : ui::WindowProcedure {
    static const std::vector<ui::ControlDecl>& controls() {
        static const std::vector<ui::ControlDecl> c = {
            {.kind = ControlKind::List,
             .name = "?LIST",
             .x = 0,
             .y = 0,
             .w = 300,
             .h = 150,
             .use = "REW",
             .key = "KEY_4",
             .columns = {{.header = "Nдок", .field = "REW:N_DOK", .picture = "s5", .width = 21},
                         {.header = "Дата", .field = "REW:D_DOK", .picture = "d6", .width = 44}},
             .locator = true},
            {.kind = ControlKind::String,
             .name = "?REW:N_PLA",
             .x = 0,
             .y = 152,
             .w = 300,
             .use = "REW:N_PLA"},
        };
        return c;
    }
    RewListWindow(WindowThread& t)
        : WindowProcedure(t, nullptr,
                          {.procedure = "rew_tab",
                           .title = "Журнал",
                           .w = 300,
                           .h = 162,
                           .controls = controls()}) {}
    ui::BrowseList* list() const { return controlAs<ui::BrowseList>("?LIST"); }
    void init() override { dct().Relate.REW.open(); }
    void kill() override { dct().Relate.REW.close(); }
};

RewRecord order(std::string_view nDok, LONG dDok, std::string_view payerName) {
    RewRecord r{};
    r.N_DOK = nDok;
    r.D_DOK = dDok;
    r.DDD = 99999 - dDok;
    r.N_PLA = payerName;
    return r;
}

TEST_F(BrowseListTest, KeyOrderTieBreakLocatorAndRecordTest) {
    storeRecords<RewRecord>({order("1", 80000, "ООО Ромашка"), order("2", 80000, "ЗАО Лютик"),
                             order("3", 80001, "ООО Ромашка"), order("9", 99999, "вне ключа"),
                             order("4", 79000, "ИП Торг")});
    auto thread = std::make_unique<WindowThread>();
    auto* w = new RewListWindow(*thread);
    w->adoptThread(std::move(thread));
    w->run();
    ui::BrowseList* l = w->list();
    auto nDoks = [&] {
        std::vector<std::string> v;
        for (int i = 0; i < l->model()->rowCount(); ++i)
            v.push_back(l->model()
                            ->data(l->model()->index(i, 0), Qt::DisplayRole)
                            .toString()
                            .toStdString());
        return v;
    };
    // Newest first; one date from the highest number down; DDD = 0 is outside the key.
    EXPECT_EQ(nDoks(), (std::vector<std::string>{"3", "2", "1", "4"}));
    // The detail shows the highlighted record from the buffer.
    EXPECT_EQ(w->controlAs<QLabel>("?REW:N_PLA")->text(), QStringLiteral("ООО Ромашка"));

    // The step locator: "2" goes to the first record whose DDD is at or after 2.
    QTest::keyClick(l->view(), Qt::Key_2);
    EXPECT_EQ(w->dct().REW.N_DOK.cp1251(), "3");

    // A record test applied inside the reads.
    l->setFilter([](const std::byte* rec) {
        RewRecord r;
        std::memcpy(static_cast<void*>(&r), rec, sizeof r);
        return r.N_PLA.cp1251().find(utf8ToCp1251("Ромашка")) != std::string::npos;
    });
    l->fillFromStart();
    EXPECT_EQ(nDoks(), (std::vector<std::string>{"3", "1"}));
}

}  // namespace
}  // namespace pordex::test
