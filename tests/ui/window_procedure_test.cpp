#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <filesystem>

#include "platform/runtime/date.h"
#include "platform/ui/bound_controls.h"
#include "platform/ui/dialog_units.h"
#include "support/type_text.h"
#include "ui/test_windows.h"
#include "ui/ui_fixture.h"

namespace pordex::test {
namespace {

using ui::WindowProcedure;

// A window with a few controls on window-local variables.
struct Plain : WindowProcedure {
    static const std::vector<ControlDecl>& controls() {
        static const std::vector<ControlDecl> c = {
            {.kind = ControlKind::Entry,
             .name = "?SUM",
             .x = 4,
             .y = 4,
             .use = "SUM",
             .picture = "n18.2b"},
            {.kind = ControlKind::Spin,
             .name = "?CODE:2",
             .x = 4,
             .y = 18,
             .w = 25,
             .h = 10,
             .use = "CODE",
             .picture = "s2",
             .values = "  |00|ТП|ЗД"},
            {.kind = ControlKind::Entry,
             .name = "?CODE",
             .x = 34,
             .y = 18,
             .use = "CODE",
             .picture = "s2"},
            {.kind = ControlKind::String,
             .name = "?MSG",
             .x = 4,
             .y = 32,
             .w = 100,
             .h = 7,
             .use = "MSG",
             .picture = "s30",
             .color = ui::Color::Red},
            {.kind = ControlKind::Spin,
             .name = "?DAY",
             .x = 60,
             .y = 4,
             .w = 55,
             .h = 10,
             .use = "DAY",
             .picture = "D6b"},
            {.kind = ControlKind::Button,
             .name = "?OK",
             .text = "OK",
             .x = 4,
             .y = 44,
             .w = 40,
             .h = 12},
            {.kind = ControlKind::Button,
             .name = "?CANCEL",
             .text = "Закрыть",
             .x = 60,
             .y = 44,
             .w = 45,
             .h = 12},
        };
        return c;
    }
    static ui::WindowDecl decl(std::string_view procedure, bool resizable = false) {
        return {.procedure = procedure,
                .title = "Окно",
                .x = 10,
                .y = 20,
                .w = 150,
                .h = 60,
                .resizable = resizable,
                .controls = controls()};
    }
    Plain(WindowThread& t, WindowProcedure* caller, std::string_view procedure = "plain",
          bool resizable = false)
        : WindowProcedure(t, caller, decl(procedure, resizable)) {
        bindVariable("SUM", ui::FieldRef::of(sum));
        bindVariable("CODE", ui::FieldRef::of(code));
        bindVariable("MSG", ui::FieldRef::of(msg));
        bindVariable("DAY", ui::FieldRef::of(day));
    }
    void opened() override {
        setOkControl("?OK");
        setCancelControl("?CANCEL");
    }
    REAL sum = 0;
    Str<2> code;
    Str<30> msg;
    LONG day = 0;
};

class WindowProcedureTest : public UiTest {};

TEST_F(WindowProcedureTest, TakesItsRequestAndLeavesItsResponseInTheThreadsGlobals) {
    WindowThread thread;
    thread.GlobalRequest = WindowThread::ChangeRecord;
    thread.GlobalResponse = WindowThread::RequestCancelled;
    auto* w = new Plain(thread, nullptr);
    std::vector<BYTE> got;
    w->run([&](BYTE r) { got.push_back(r); });
    EXPECT_EQ(w->request(), WindowThread::ChangeRecord);
    EXPECT_EQ(thread.GlobalRequest, 0);
    EXPECT_EQ(thread.GlobalResponse, 0);
    EXPECT_EQ(files::globalErrors().procedureName(), "plain");

    w->controlAs<QPushButton>("?OK")->click();
    EXPECT_EQ(got, std::vector<BYTE>{WindowThread::RequestCompleted});
    EXPECT_EQ(thread.GlobalResponse, WindowThread::RequestCompleted);
    EXPECT_EQ(files::globalErrors().procedureName(), "");
    flush();
    EXPECT_TRUE(WindowProcedure::liveWindows().empty());
}

TEST_F(WindowProcedureTest, ANestedWindowNamesItselfAndGivesTheNameBackWhenItCloses) {
    WindowThread thread;
    auto* outer = new Plain(thread, nullptr, "outer");
    outer->run();
    auto* inner = new Plain(thread, outer, "inner");
    BYTE got = 0;
    outer->runNested(inner, WindowThread::DeleteRecord, [&](BYTE r) { got = r; });
    EXPECT_EQ(inner->request(), WindowThread::DeleteRecord);
    EXPECT_EQ(inner->windowModality(), Qt::WindowModal);
    EXPECT_EQ(files::globalErrors().procedureName(), "inner");
    QTest::keyClick(inner, Qt::Key_Escape);  // Escape is the cancel button's key
    EXPECT_EQ(got, WindowThread::RequestCancelled);
    EXPECT_EQ(files::globalErrors().procedureName(), "outer");
    outer->closeWith(WindowThread::RequestCancelled);
    EXPECT_EQ(files::globalErrors().procedureName(), "");
}

// Two journals, each with a form open on it, close their forms in either order; each journal
// gets its own form's result the moment its form closes.
TEST_F(WindowProcedureTest, NestedWindowsOfTwoThreadsCloseInEitherOrder) {
    for (const bool firstA : {true, false}) {
        SCOPED_TRACE(firstA ? "A first" : "B first");
        auto start = [](const char* name) {
            auto t = std::make_unique<WindowThread>();
            auto* w = new Plain(*t, nullptr, name);
            w->adoptThread(std::move(t));
            w->run();
            return w;
        };
        Plain* a = start("a");
        Plain* b = start("b");
        std::vector<std::string> results;
        auto* formA = new Plain(a->thread(), a, "formA");
        auto* formB = new Plain(b->thread(), b, "formB");
        a->runNested(formA, WindowThread::InsertRecord,
                     [&](BYTE r) { results.push_back("a:" + std::to_string(r)); });
        b->runNested(formB, WindowThread::ChangeRecord,
                     [&](BYTE r) { results.push_back("b:" + std::to_string(r)); });
        // Neither form blocks the other journal.
        EXPECT_FALSE(QApplication::activeModalWidget() == formA && formB->isEnabled() == false);
        if (firstA) {
            formA->controlAs<QPushButton>("?OK")->click();
            EXPECT_EQ(results, std::vector<std::string>{"a:1"});
            EXPECT_EQ(a->thread().GlobalResponse, 1);
            EXPECT_EQ(b->thread().GlobalResponse, 0);
            formB->controlAs<QPushButton>("?CANCEL")->click();
            EXPECT_EQ(results, (std::vector<std::string>{"a:1", "b:2"}));
        } else {
            formB->controlAs<QPushButton>("?CANCEL")->click();
            EXPECT_EQ(results, std::vector<std::string>{"b:2"});
            EXPECT_EQ(a->thread().GlobalResponse, 0);
            formA->controlAs<QPushButton>("?OK")->click();
            EXPECT_EQ(results, (std::vector<std::string>{"b:2", "a:1"}));
        }
        EXPECT_EQ(b->thread().GlobalResponse, 2);
        WindowProcedure::closeAll();
        flush();
    }
}

// Each window thread has its own data store: closing one leaves the other's files open.
TEST_F(WindowProcedureTest, WindowThreadsHaveTheirOwnManagersAndFiles) {
    storeRecords<KbpRecord>({payer(1, "Один"), payer(2, "Два")});
    auto start = [] {
        auto t = std::make_unique<WindowThread>();
        auto* w = new PayerList(*t, nullptr);
        w->adoptThread(std::move(t));
        w->run();
        return w;
    };
    PayerList* a = start();
    PayerList* b = start();
    EXPECT_NE(&a->dct().Access.KBP, &b->dct().Access.KBP);
    EXPECT_TRUE(a->dct().Access.KBP.reallyOpen());
    EXPECT_TRUE(b->dct().Access.KBP.reallyOpen());
    QTest::keyClick(b->list()->view(), Qt::Key_Down);
    EXPECT_EQ(int{a->dct().KBP.NOMER}, 1);  // the other thread's buffer is its own
    EXPECT_EQ(int{b->dct().KBP.NOMER}, 2);

    QPointer<PayerList> gone(a);
    a->controlAs<QPushButton>("?CLOSE")->click();
    flush();
    EXPECT_TRUE(gone.isNull());
    ASSERT_TRUE(b->dct().Access.KBP.reallyOpen());
    QTest::keyClick(b->list()->view(), Qt::Key_Insert);
    auto* form = dynamic_cast<PayerForm*>(b->nestedWindow());
    ASSERT_NE(form, nullptr);
    auto* nomer = form->controlAs<QLineEdit>("?KBP:NOMER");
    nomer->selectAll();
    QTest::keyClicks(nomer, "3");
    form->controlAs<QPushButton>("?OK")->click();
    EXPECT_EQ(readRecords<KbpRecord>().size(), 3u);
    EXPECT_EQ(b->list()->model()->rowCount(), 3);
}

TEST_F(WindowProcedureTest, PlacementIsSavedUnderTheProcedureAndRestored) {
    WindowThread thread;
    // No settings file: the designed place and size.
    ASSERT_FALSE(std::filesystem::exists(work.ini()));
    auto* w = new Plain(thread, nullptr, "fixed");
    w->run();
    const ui::DialogUnits& du = w->units();
    EXPECT_EQ(w->pos(), ui::desktopOrigin() + du.point(10, 20));
    EXPECT_EQ(w->size(), du.size(150, 60));
    w->move(ui::desktopOrigin() + du.point(30, 40));
    w->closeWith(WindowThread::RequestCancelled);

    auto* r = new Plain(thread, nullptr, "sized", true);
    r->run();
    r->resize(du.size(200, 90));
    r->move(ui::desktopOrigin() + du.point(5, 6));
    r->closeWith(WindowThread::RequestCancelled);
    ui::iniMgr().close();

    {
        QSettings ini(QString::fromStdString(work.ini().string()), QSettings::IniFormat);
        EXPECT_EQ(ini.value("fixed/XPos").toInt(), 30);
        EXPECT_EQ(ini.value("fixed/YPos").toInt(), 40);
        EXPECT_FALSE(ini.contains("fixed/Width"));  // only resizable windows keep a size
        EXPECT_EQ(ini.value("fixed/Maximize").toString(), "No");
        EXPECT_EQ(ini.value("fixed/Minimize").toString(), "No");
        EXPECT_EQ(ini.value("sized/Width").toInt(), 200);
        EXPECT_EQ(ini.value("sized/Height").toInt(), 90);
        EXPECT_EQ(ini.value("sized/XPos").toInt(), 5);
    }

    ui::iniMgr().init(work.ini());
    auto* again = new Plain(thread, nullptr, "fixed");
    again->run();
    EXPECT_EQ(again->pos(), ui::desktopOrigin() + du.point(30, 40));
    EXPECT_EQ(again->size(), du.size(150, 60));
    auto* sized = new Plain(thread, nullptr, "sized", true);
    sized->run();
    EXPECT_EQ(sized->size(), du.size(200, 90));
    // Never smaller than designed.
    EXPECT_EQ(sized->minimumSize(), du.size(150, 60));
}

TEST_F(WindowProcedureTest, TheResizerStretchesListsAndKeepsButtons) {
    storeRecords<KbpRecord>({});
    auto t = std::make_unique<WindowThread>();
    auto* w = new PayerList(*t, nullptr);
    w->adoptThread(std::move(t));
    w->run();
    const QSize listBefore = w->control("?LIST")->size();
    const QSize buttonBefore = w->control("?INSERT")->size();
    const QPoint buttonPos = w->control("?INSERT")->pos();
    w->resize(w->size() * 2);
    EXPECT_GT(w->control("?LIST")->width(), listBefore.width() * 3 / 2);
    EXPECT_GT(w->control("?LIST")->height(), listBefore.height() * 3 / 2);
    EXPECT_EQ(w->control("?INSERT")->size(), buttonBefore);
    EXPECT_GT(w->control("?INSERT")->y(), buttonPos.y());
    // The list's bottom stays above the buttons.
    EXPECT_LT(w->control("?LIST")->geometry().bottom(), w->control("?INSERT")->y());
    w->resize(10, 10);
    EXPECT_EQ(w->size(), w->minimumSize());
}

TEST_F(WindowProcedureTest, ControlsShowAndTakeTheirVariables) {
    WindowThread thread;
    auto* w = new Plain(thread, nullptr);
    w->sum = 1234567.5;
    w->msg = "Сообщение";
    w->run();
    auto* sum = w->controlAs<QLineEdit>("?SUM");
    EXPECT_EQ(sum->text(), QStringLiteral("1,234,567.50"));
    EXPECT_EQ(w->controlAs<QLabel>("?MSG")->text(), QStringLiteral("Сообщение"));

    // Typed in the user's way, read by the picture.
    sum->setFocus();
    sum->selectAll();
    QTest::keyClicks(sum, "1 000,25");
    QTest::keyClick(sum, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(w->sum, 1000.25);
    EXPECT_EQ(sum->text(), QStringLiteral("1,000.25"));

    // Text that does not read leaves the value as it was, and keeps what was typed.
    sum->selectAll();
    QTest::keyClicks(sum, "12abc");
    QTest::keyClick(sum, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(w->sum, 1000.25);
    EXPECT_EQ(sum->text(), QStringLiteral("12abc"));
    EXPECT_FALSE(w->acceptAll());
    EXPECT_EQ(w->focusWidget(), sum);
    w->controlAs<QPushButton>("?OK")->click();
    EXPECT_FALSE(w->isClosing());  // OK does not pass an unreadable field

    // The spin steps through its values and writes each into the field; the entry on the same
    // field shows it.
    auto* spin = w->controlAs<ui::ValueSpin>("?CODE:2");
    auto* code = w->controlAs<QLineEdit>("?CODE");
    EXPECT_EQ(spin->index(), 0);  // the blank code is the first value
    spin->stepBy(1);
    EXPECT_TRUE(w->code.equalsUtf8("00"));
    EXPECT_EQ(code->text(), QStringLiteral("00"));
    spin->stepBy(2);
    EXPECT_TRUE(w->code.equalsUtf8("ЗД"));
    spin->stepBy(1);  // the last value stays
    EXPECT_TRUE(w->code.equalsUtf8("ЗД"));
    EXPECT_FALSE(spin->stepEnabled() & QAbstractSpinBox::StepUpEnabled);
    // A value typed in the entry is found in the list.
    code->setFocus();
    code->selectAll();
    typeText(code, QStringLiteral("ТП"));
    QTest::keyClick(code, Qt::Key_Return);
    EXPECT_EQ(spin->index(), 2);

    // A date spin starts from today and steps by a day.
    auto* day = w->controlAs<ui::ValueSpin>("?DAY");
    EXPECT_EQ(day->text(), QStringLiteral(""));
    day->stepBy(1);
    EXPECT_EQ(w->day, today());
    day->stepBy(-2);
    EXPECT_EQ(w->day, today() - 2);
}

// A code entry before a spin on the same code (as the payment-order form has its status) and an
// account entry, both at the default width.
struct Codes : WindowProcedure {
    static const std::vector<ControlDecl>& controls() {
        static const std::vector<ControlDecl> c = {
            {.kind = ControlKind::Entry,
             .name = "?CODE",
             .x = 4,
             .y = 4,
             .use = "CODE",
             .picture = "s2"},
            {.kind = ControlKind::Spin,
             .name = "?CODE:2",
             .x = 30,
             .y = 4,
             .w = 25,
             .h = 10,
             .use = "CODE",
             .picture = "s2",
             .values = "00|ИШ|МС|ЗД"},
            {.kind = ControlKind::Entry,
             .name = "?ACCOUNT",
             .x = 4,
             .y = 18,
             .use = "ACCOUNT",
             .picture = "s20"},
            {.kind = ControlKind::Entry,
             .name = "?DAY",
             .x = 4,
             .y = 32,
             .use = "DAY",
             .picture = "D6b"},
        };
        return c;
    }
    Codes(WindowThread& t)
        : WindowProcedure(
              t, nullptr,
              {.procedure = "codes", .title = "Коды", .w = 120, .h = 50, .controls = controls()}) {
        bindVariable("CODE", ui::FieldRef::of(code));
        bindVariable("ACCOUNT", ui::FieldRef::of(account));
        bindVariable("DAY", ui::FieldRef::of(day));
    }
    Str<2> code;
    Str<20> account;
    LONG day = 0;
};

// True when `text` in `e` shows from its first character to its last: with the cursor at the end
// a line edit scrolls its start out of sight when the text does not fit.
bool showsWhole(QLineEdit* e, const QString& text) {
    e->setText(text);
    e->setCursorPosition(static_cast<int>(text.size()));
    e->grab();  // the scroll is settled when the entry paints
    return e->cursorPositionAt(QPoint(e->contentsRect().left() + 3, e->height() / 2)) == 0;
}

TEST_F(WindowProcedureTest, CodesAccountsAndDatesShowWholeAtTheirWidths) {
    WindowThread thread;
    auto* w = new Codes(thread);
    w->run();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    auto* code = w->controlAs<QLineEdit>("?CODE");
    auto* spinText = w->controlAs<ui::ValueSpin>("?CODE:2")->findChild<QLineEdit*>();
    ASSERT_NE(spinText, nullptr);
    for (const char* v : {"00", "ИШ", "МС", "ЗД"}) {
        SCOPED_TRACE(v);
        EXPECT_TRUE(showsWhole(code, QString::fromUtf8(v)));
        EXPECT_TRUE(showsWhole(spinText, QString::fromUtf8(v)));
    }
    EXPECT_TRUE(showsWhole(w->controlAs<QLineEdit>("?ACCOUNT"), QString(20, QLatin1Char('0'))));
    EXPECT_TRUE(showsWhole(w->controlAs<QLineEdit>("?DAY"), QStringLiteral("28/08/2024")));
    w->closeWith(WindowProcedure::RequestCancelled);
}

// A code typed into the entry and not yet completed is what taking the controls keeps: the spin
// beside it on the same field does not put back the value it last showed.
TEST_F(WindowProcedureTest, TakingAllControlsKeepsACodeTypedBesideASpin) {
    WindowThread thread;
    auto* w = new Codes(thread);
    w->code = "ЗД";
    w->run();
    auto* code = w->controlAs<QLineEdit>("?CODE");
    code->setFocus();
    code->selectAll();
    typeText(code, QStringLiteral("МС"));
    EXPECT_TRUE(w->code.equalsUtf8("ЗД"));  // not yet taken
    w->updateVariables();
    EXPECT_TRUE(w->code.equalsUtf8("МС"));
    code->selectAll();
    typeText(code, QStringLiteral("00"));
    EXPECT_TRUE(w->acceptAll());
    EXPECT_TRUE(w->code.equalsUtf8("00"));
    w->closeWith(WindowProcedure::RequestCancelled);
}

TEST_F(WindowProcedureTest, DialogUnitsFollowTheWindowFont) {
    ui::installFontSubstitutions();
    const QFont f = ui::windowFont("MS Sans Serif", 8);
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(ui::windowFont("Courier New", 10)).family(),
              QStringLiteral("Liberation Mono"));
    EXPECT_EQ(QFontInfo(ui::windowFont("MS Serif", 10)).family(),
              QStringLiteral("Liberation Serif"));
    const ui::DialogUnits du(f);
    const QFontMetrics fm(f);
    EXPECT_EQ(du.baseY(), fm.height());
    EXPECT_EQ(
        du.baseX(),
        (fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) /
            2);
    // Windows' rounding: 6 px per 4 units across, 12 px per 8 down.
    const ui::DialogUnits fixed(6, 12);
    EXPECT_EQ(fixed.x(116), 174);
    EXPECT_EQ(fixed.y(62), 93);
    EXPECT_EQ(fixed.x(3), 5);  // 4.5 rounds up
    EXPECT_EQ(fixed.fromX(174), 116);
    EXPECT_EQ(fixed.fromY(93), 62);
}

}  // namespace
}  // namespace pordex::test
