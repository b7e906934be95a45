#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "app/program_entry.h"
#include "app/shell_variables.h"
#include "app/ui/main_frame.h"
#include "app/ui/main_menu.h"
#include "app/ui/sign_on.h"
#include "app/ui/window_starts.h"
#include "platform/runtime/date.h"
#include "platform/system/drag_full_windows.h"
#include "support/type_text.h"
#include "ui/ui_fixture.h"

namespace pordex::test {
namespace {

using app::MainMenu;
using app::SignOn;
using ui::WindowProcedure;

template <class W>
std::vector<W*> windowsOf() {
    std::vector<W*> out;
    for (WindowProcedure* w : WindowProcedure::liveWindows())
        if (auto* x = dynamic_cast<W*>(w); x && !x->isClosing()) out.push_back(x);
    return out;
}

// ------------------------------------------------------------------ the entry

struct DragCase {
    LONG atStart;
    LONG whileRunning;
    int writesWhileRunning;
    int writesAfter;
};

class ProgramEntryTest : public ::testing::TestWithParam<DragCase> {
  protected:
    TempWorkdir work;
};

// On at start: off while the program runs, on again after it. Off at start: never touched.
TEST_P(ProgramEntryTest, DragFullWindowsIsSwitchedOffForTheRunOnlyWhenItWasOn) {
    const DragCase c = GetParam();
    sys::setInitialDragFullWindows(c.atStart);
    {
        app::ProgramEntry entry;
        entry.begin(work.ini());
        EXPECT_EQ(entry.currentFDSetting(), c.atStart);
        EXPECT_EQ(sys::dragFullWindows(), c.whileRunning);
        EXPECT_EQ(sys::dragFullWindowsWrites(), c.writesWhileRunning);
        entry.end();
    }
    EXPECT_EQ(sys::dragFullWindows(), c.atStart);
    EXPECT_EQ(sys::dragFullWindowsWrites(), c.writesAfter);
    sys::setInitialDragFullWindows(1);
}

INSTANTIATE_TEST_SUITE_P(Settings, ProgramEntryTest,
                         ::testing::Values(DragCase{1, 0, 1, 2}, DragCase{0, 0, 0, 0}),
                         [](const ::testing::TestParamInfo<DragCase>& info) {
                             return std::string(info.param.atStart ? "OnAtStart" : "OffAtStart");
                         });

TEST(ProgramEntry, BlanksTheGlobalsAndBuildsTheMainStoreOnceAfterTheSettings) {
    TempWorkdir work;
    globals().KOD = 12;
    globals().PAROL = "секрет";
    globals().N_D = "x";
    app::ProgramEntry entry;
    EXPECT_EQ(globals().KOD, 0);
    EXPECT_TRUE(globals().PAROL.blank());
    EXPECT_EQ(globals().N_D.cp1251(), "'N'");

    WindowThread& main = entry.mainThread();
    EXPECT_TRUE(main.isMain());
    EXPECT_FALSE(main.dct.initialised());  // not built by the dictionary's constructor
    int inits = 0;
    main.dct.setTrace([&](std::string_view step, std::string_view) { inits += step == "init"; });
    entry.begin(work.ini());
    EXPECT_TRUE(main.dct.initialised());
    EXPECT_TRUE(ui::iniMgr().isOpen());
    EXPECT_EQ(inits, 9);
    entry.end();
    EXPECT_FALSE(ui::iniMgr().isOpen());
    EXPECT_EQ(inits, 9);
}

// ------------------------------------------------------------------ the windows

class ShellTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        app::programWindows() = {};
        MainMenu::setClock({});
        frame = std::make_unique<app::MainFrame>(mainThread);
        frame->open();
    }
    void TearDown() override {
        frame->close();
        frame.reset();
        app::programWindows() = {};
        MainMenu::setClock({});
        UiTest::TearDown();
    }

    SignOn* signOn() {
        frame->signOnItem()->trigger();
        return windowsOf<SignOn>().back();
    }

    WindowThread mainThread{WindowThread::Kind::Main};
    std::unique_ptr<app::MainFrame> frame;
};

TEST_F(ShellTest, TheFrameMenu) {
    const QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Установка принтера"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Запуск системы"));
    const QList<QAction*> first = menus[0]->menu()->actions();
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first[0]->text(), QStringLiteral("&Выбор и установки принтера"));
    EXPECT_TRUE(first[1]->isSeparator());
    EXPECT_EQ(first[2]->text(), QStringLiteral("Выход"));
    EXPECT_EQ(frame->printerSetupItem()->statusTip(), QStringLiteral("Setup printer"));
    EXPECT_EQ(frame->exitItem()->statusTip(), QStringLiteral("Exit this application"));
    EXPECT_EQ(frame->signOnItem()->text(),
              QStringLiteral("Ввод кода и пароля для запуска системы"));
    EXPECT_EQ(frame->signOnItem()->statusTip(), QStringLiteral("Remove item to Windows Clipboard"));

    // The printer set-up opens without holding the frame's event loop.
    frame->printerSetupItem()->trigger();
    auto* dialog = frame->findChild<QPrintDialog*>(QStringLiteral("printerSetup"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    dialog->reject();
}

// The three states: asking, ready, hidden. Blank code and password lead on like any other.
TEST_F(ShellTest, SignOnLeadsOnWithAnyInputAndHidesItself) {
    globals().KOD = 7;
    globals().PAROL = "старый";
    app::shellVariables().MESSAGE = "было";
    SignOn* s = signOn();
    EXPECT_EQ(globals().KOD, 0);  // every sign-on starts from nothing
    EXPECT_TRUE(globals().PAROL.blank());
    EXPECT_TRUE(app::shellVariables().MESSAGE.blank());
    EXPECT_EQ(s->windowTitle(), QStringLiteral("Ввод кода пользователя и пароля "));
    EXPECT_EQ(files::globalErrors().procedureName(), "start");
    EXPECT_EQ(s->controlAs<QLineEdit>("?PAROL")->echoMode(), QLineEdit::Password);

    // Asking.
    EXPECT_TRUE(s->control(SignOn::kReady)->isVisible());
    EXPECT_FALSE(s->control(SignOn::kStart)->isVisible());
    s->controlAs<QPushButton>("?BUTTON6")->click();
    // Ready.
    EXPECT_FALSE(s->control(SignOn::kReady)->isVisible());
    EXPECT_TRUE(s->control(SignOn::kStart)->isVisible());
    EXPECT_TRUE(windowsOf<MainMenu>().empty());

    s->controlAs<QPushButton>("?BUTTON7")->click();
    // Hidden, alive; the main menu runs on a thread of its own.
    EXPECT_FALSE(s->isVisible());
    EXPECT_FALSE(s->isClosing());
    const auto menus = windowsOf<MainMenu>();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_TRUE(menus[0]->isVisible());
    EXPECT_NE(&menus[0]->thread(), &s->thread());
    EXPECT_EQ(menus[0]->caller(), nullptr);

    // Closing the menu leaves the frame and the hidden sign-on.
    menus[0]->post(MainMenu::kExit);
    flush();
    EXPECT_TRUE(windowsOf<MainMenu>().empty());
    EXPECT_EQ(windowsOf<SignOn>().size(), 1u);
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(ShellTest, WhatWasTypedIsTakenWhenTheSystemStarts) {
    SignOn* s = signOn();
    auto* kod = s->controlAs<QLineEdit>("?KOD");
    kod->selectAll();
    QTest::keyClicks(kod, "42");
    auto* parol = s->controlAs<QLineEdit>("?PAROL");
    typeText(parol, QStringLiteral("пароль"));
    s->controlAs<QPushButton>("?BUTTON6")->click();
    s->controlAs<QPushButton>("?BUTTON7")->click();
    EXPECT_EQ(globals().KOD, 42);
    EXPECT_TRUE(globals().PAROL.equalsUtf8("пароль"));
}

TEST_F(ShellTest, TwoSignOnWindowsAreIndependent) {
    SignOn* a = signOn();
    SignOn* b = signOn();
    ASSERT_NE(a, b);
    EXPECT_NE(&a->thread(), &b->thread());
    EXPECT_EQ(a->caller(), nullptr);
    EXPECT_EQ(b->caller(), nullptr);
    a->controlAs<QPushButton>("?BUTTON6")->click();
    EXPECT_TRUE(a->control(SignOn::kStart)->isVisible());
    EXPECT_FALSE(b->control(SignOn::kStart)->isVisible());
    EXPECT_TRUE(b->control(SignOn::kReady)->isVisible());
    a->controlAs<QPushButton>("?BUTTON7")->click();
    EXPECT_FALSE(a->isVisible());
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(b->isEnabled());
}

TEST_F(ShellTest, TheMainMenuShowsTodayAndRefreshesIt) {
    LONG day = DATE(12, 31, 2025);
    MainMenu::setClock([&] { return day; });
    auto* m = app::startOnNewThread<MainMenu>();
    EXPECT_EQ(m->windowTitle(), QStringLiteral("Подготовка платежных поручений"));
    EXPECT_EQ(app::shellVariables().DATE1, day);
    EXPECT_EQ(m->controlAs<QLabel>("?DATE1")->text(), QStringLiteral("31/12/2025"));
    // After midnight, the first refresh shows the new day.
    day = DATE(1, 1, 2026);
    EXPECT_EQ(m->controlAs<QLabel>("?DATE1")->text(), QStringLiteral("31/12/2025"));
    m->reset();
    EXPECT_EQ(m->controlAs<QLabel>("?DATE1")->text(), QStringLiteral("01/01/2026"));

    // The menu and its items.
    const QList<QAction*> menus = m->windowMenuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Подготовка документов"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Настройка"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("Выход"));
    EXPECT_EQ(m->menuItem(MainMenu::kExit)->text(), QStringLiteral("Закончить работу???"));
    // Windows not part of the program yet: their items lead nowhere.
    EXPECT_FALSE(m->menuItem(MainMenu::kJournal)->isEnabled());
    EXPECT_FALSE(m->menuItem(MainMenu::kPayers)->isEnabled());
}

// The payers list runs nested on the menu's thread and blocks the menu until closed; a journal
// runs on a thread of its own and blocks nothing.
TEST_F(ShellTest, ListsRunNestedOnTheMenuJournalsOnTheirOwnThreads) {
    struct Plain : WindowProcedure {
        Plain(WindowThread& t, WindowProcedure* caller)
            : WindowProcedure(t, caller, {.procedure = "plain", .title = "x", .w = 50, .h = 20}) {}
    };
    std::vector<Plain*> journals;
    app::programWindows().journal = [&] { journals.push_back(app::startOnNewThread<Plain>()); };
    app::programWindows().payers = [](WindowProcedure& caller) {
        return new Plain(caller.thread(), &caller);
    };
    LONG day = DATE(5, 5, 2025);
    MainMenu::setClock([&] { return day; });
    auto* m = app::startOnNewThread<MainMenu>();
    EXPECT_TRUE(m->menuItem(MainMenu::kJournal)->isEnabled());
    EXPECT_TRUE(m->menuItem(MainMenu::kPayers)->isEnabled());
    EXPECT_FALSE(m->menuItem(MainMenu::kRecipients)->isEnabled());

    m->menuItem(MainMenu::kPayers)->trigger();
    WindowProcedure* list = m->nestedWindow();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(&list->thread(), &m->thread());
    EXPECT_EQ(list->windowModality(), Qt::WindowModal);
    day = DATE(5, 6, 2025);
    list->closeWith(WindowProcedure::RequestCancelled);
    EXPECT_EQ(m->nestedWindow(), nullptr);
    EXPECT_EQ(app::shellVariables().DATE1, day);  // refreshed after the list returned

    m->menuItem(MainMenu::kJournal)->trigger();
    m->menuItem(MainMenu::kJournal)->trigger();
    ASSERT_EQ(journals.size(), 2u);
    EXPECT_EQ(journals[0]->caller(), nullptr);
    EXPECT_NE(&journals[0]->thread(), &m->thread());
    EXPECT_NE(&journals[0]->thread(), &journals[1]->thread());
    EXPECT_EQ(m->nestedWindow(), nullptr);
    // Closing the menu does not close its journals.
    m->post(MainMenu::kExit);
    flush();
    EXPECT_EQ(windowsOf<Plain>().size(), 2u);
}

TEST_F(ShellTest, ClosingTheFrameEndsEveryWindowAndKeepsThePlaces) {
    SignOn* s = signOn();
    s->controlAs<QPushButton>("?BUTTON6")->click();
    s->controlAs<QPushButton>("?BUTTON7")->click();
    signOn();
    int status = -1;
    QObject::connect(frame.get(), &app::MainFrame::ended, [&](int st) { status = st; });
    frame->exitItem()->trigger();
    flush();
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(WindowProcedure::liveWindows().empty());
    ui::iniMgr().close();
    QSettings ini(QString::fromStdString(work.ini().string()), QSettings::IniFormat);
    for (const char* section : {"Main", "start", "sis"}) {
        SCOPED_TRACE(section);
        EXPECT_TRUE(ini.contains(QString::fromLatin1(section) + "/XPos"));
        EXPECT_TRUE(ini.contains(QString::fromLatin1(section) + "/Maximize"));
    }
    EXPECT_TRUE(ini.contains("Main/Width"));    // the frame is resizable
    EXPECT_FALSE(ini.contains("start/Width"));  // the sign-on window is not
    ui::iniMgr().init(work.ini());
}

}  // namespace
}  // namespace pordex::test
