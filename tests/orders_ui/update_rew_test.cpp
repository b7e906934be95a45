#include "orders/ui/update_rew.h"

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <optional>

#include "orders_ui/order_window_test.h"
#include "orders_ui/update_rew_fixture.h"
#include "platform/runtime/date.h"
#include "platform/system/beep.h"
#include "platform/system/program_start.h"
#include "platform/ui/bound_controls.h"
#include "platform/ui/platform_setup.h"
#include "platform/ui/settings_store.h"
#include "support/temp_workdir.h"
#include "support/type_text.h"

namespace pordex {
namespace {

using test::journal;
using test::readRecords;
using test::storeRecords;

class UpdateRewTest : public test::OrderWindowTest {
  protected:
    // Opens the form as the journal does: the request in the thread's GlobalRequest; for a change
    // or deletion the order at `fileOrder` is the thread's current record.
    UpdateRewWindow* open(BYTE request, int fileOrder = -1) {
        if (fileOrder >= 0) {
            thread_.dct.Relate.REW.open();
            thread_.dct.Access.REW.set(FILE_ORDER);
            for (int i = 0; i <= fileOrder; ++i) EXPECT_TRUE(thread_.dct.Access.REW.next());
        }
        thread_.GlobalRequest = request;
        response_.reset();
        form_ = UpdateRew(thread_, nullptr, [this](BYTE r) { response_ = r; });
        if (fileOrder >= 0) thread_.dct.Relate.REW.close();
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_));
        return form_;
    }

    template <class W = QWidget>
    W* ctl(std::string_view name) {
        return form_ ? form_->controlAs<W>(name) : nullptr;
    }
    QString shown(std::string_view name) {
        QWidget* w = ctl(name);
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) return s->text();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* t = qobject_cast<QPlainTextEdit*>(w)) return t->toPlainText();
        ADD_FAILURE() << "no control " << name;
        return {};
    }
    // Types into an entry as the user does and completes it with Enter.
    void enter(std::string_view name, const QString& text) {
        QWidget* w = ctl(name);
        ASSERT_NE(w, nullptr) << name;
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
        if (auto* t = qobject_cast<QPlainTextEdit*>(w)) t->selectAll();
        if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) s->selectAll();
        if (text.isEmpty()) QTest::keyClick(w, Qt::Key_Delete);
        test::typeText(w, text);
        QTest::keyClick(w, Qt::Key_Return);
    }
    void press(std::string_view name) {
        auto* b = ctl<QPushButton>(name);
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isVisible()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
        flush();
    }
    bool okVisible() {
        QWidget* ok = ctl("?OK");
        return ok && ok->isVisible();
    }
    // The order a user would type: every field the checks ask for.
    void typeCompleteOrder() {
        enter("?REW:MFO_A", "041234567");
        enter("?REW:N_SC_A", QString::fromUtf8(test::kPayerAccount.data()));
        enter("?REW:N_PLA", "ООО Ромашка");
        enter("?REW:MFO_B", "044525225");
        enter("?REW:N_SC_B", QString::fromUtf8(test::kRecipientAccount.data()));
        enter("?REW:INN_POL", "7702000002");
        enter("?REW:N_POL", "ООО Получатель");
        enter("?REW:SORT", "5");
        enter("?REW:NDS", "-1");
        enter("?REW:SUMMA", "1000.00");
        enter("?REW:NAME", "Оплата по счету 17");
    }

    WindowThread thread_;
    QPointer<UpdateRewWindow> form_;
    std::optional<BYTE> response_;
};

TEST_F(UpdateRewTest, NewOrderIsNumberedAndSavedOnlyAfterTheChecksPass) {
    storeRecords(journal(11));
    open(UpdateRewWindow::InsertRecord);
    EXPECT_EQ(form_->windowTitle(), "Добавить???");
    EXPECT_EQ(shown("?REW:N_DOK"), "12");
    EXPECT_EQ(shown("?REW:N_D"), "N");
    EXPECT_FALSE(okVisible());
    EXPECT_EQ(QApplication::focusWidget(), ctl("?BUTTON10"));

    typeCompleteOrder();
    enter("?REW:D_DOK", "15/03/2024");
    press("?BUTTON7");
    EXPECT_TRUE(okVisible());
    EXPECT_EQ(shown("?MES_REW"), "Нажмите ОК для записи в базу");
    // The checks completed the bank names.
    EXPECT_EQ(shown("?REW:BANK_PLA"), "ПАО \"БАНК ПЛАТЕЛЬЩИКА\"");
    EXPECT_EQ(shown("?REW:N_BANK"), "ПАО СБЕРБАНК г.Москва");

    press("?OK");
    ASSERT_EQ(response_, UpdateRewWindow::RequestCompleted);
    EXPECT_EQ(thread_.GlobalResponse, UpdateRewWindow::RequestCompleted);
    const auto orders = readRecords<RewRecord>();
    ASSERT_EQ(orders.size(), 12u);
    const RewRecord& saved = orders.back();
    EXPECT_EQ(saved.N_DOK.raw(), "12   ");
    EXPECT_EQ(saved.N_D.raw(), "N");
    EXPECT_EQ(+saved.D_DOK, DATE(3, 15, 2024));
    EXPECT_EQ(+saved.DDD, 99999 - DATE(3, 15, 2024));
    EXPECT_EQ(+saved.SUMMA, 1000.00);
    EXPECT_EQ(saved.N_POL.utf8(), "ООО Получатель");
    EXPECT_EQ(saved.NAME.utf8(), "Оплата по счету 17");
    EXPECT_EQ(+saved.PRI, 0);  // the file held orders already
}

TEST_F(UpdateRewTest, FailingCheckShowsItsMessageSignalAndFocus) {
    open(UpdateRewWindow::InsertRecord);
    typeCompleteOrder();
    enter("?REW:SORT", "9");
    press("?BUTTON7");
    EXPECT_EQ(shown("?MES_REW"), "Ошибка в приоритете???");
    EXPECT_EQ(sys::recentBeeps(), (std::vector<sys::BeepCall>{{200, 20}, {300, 20}, {200, 20}}));
    EXPECT_EQ(QApplication::focusWidget(), ctl("?REW:SORT"));
    EXPECT_FALSE(okVisible());

    // A required field left empty: no message, the high beep, the focus on that field.
    sys::clearRecentBeeps();
    enter("?REW:SORT", "5");
    enter("?REW:INN_POL", "");
    press("?BUTTON7");
    EXPECT_EQ(shown("?MES_REW"), "");
    EXPECT_EQ(sys::recentBeeps(), (std::vector<sys::BeepCall>{{1000, 16}}));
    EXPECT_EQ(QApplication::focusWidget(), ctl("?REW:INN_POL"));
    EXPECT_FALSE(okVisible());
    EXPECT_TRUE(readRecords<RewRecord>().empty());
}

TEST_F(UpdateRewTest, OkThatFailsItsChecksKeepsTheFormOpen) {
    open(UpdateRewWindow::InsertRecord);
    typeCompleteOrder();
    press("?BUTTON7");
    ASSERT_TRUE(okVisible());
    enter("?REW:N_SC_A", "40702810900000000013");  // wrong key
    press("?OK");
    EXPECT_FALSE(response_.has_value());
    EXPECT_EQ(shown("?MES_REW"), "Некорр.счет плательщ.(по ключу)");
    EXPECT_EQ(sys::recentBeeps(), (std::vector<sys::BeepCall>{{150, 16}}));
    EXPECT_TRUE(okVisible());  // a failed OK leaves it as it was
    EXPECT_TRUE(readRecords<RewRecord>().empty());
}

TEST_F(UpdateRewTest, ChosenPayerAndRecipientShowInTheirFields) {
    storeRecords(std::vector{test::payer(1, "40702810000000000001"),
                             test::payer(2, test::kPayerAccount, "ООО Ландыш")});
    PolRecord r = test::recipient(7, test::kRecipientAccount);
    r.N_BANK = "ПАО СБЕРБАНК г.Москва";
    storeRecords(std::vector{r});
    globals().PLAT = 2;
    globals().K_POL = 7;
    open(UpdateRewWindow::InsertRecord);
    EXPECT_EQ(shown("?REW:N_SC_A"), QString::fromUtf8(test::kPayerAccount.data()));
    EXPECT_EQ(shown("?REW:N_PLA"), "ООО Ландыш");
    EXPECT_EQ(shown("?REW:MFO_A"), "041234567");
    EXPECT_EQ(shown("?REW:P102"), "");  // no status 101: no KPP
    EXPECT_EQ(shown("?REW:N_SC_B"), QString::fromUtf8(test::kRecipientAccount.data()));
    EXPECT_EQ(shown("?REW:MFO_B"), "044525225");
    EXPECT_EQ(shown("?REW:N_BANK"), "ПАО СБЕРБАНК г.Москва");
    EXPECT_EQ(shown("?REW:P103"), "770201001");
    EXPECT_EQ(shown("?REW:P105"), "");
    EXPECT_EQ(globals().PLAT, 0);
    EXPECT_EQ(globals().K_POL, 0);
}

TEST_F(UpdateRewTest, DeleteModeShowsOkAtOnceAndDeletesWithoutChecks) {
    storeRecords(journal(3));
    globals().PRI_DEL = 1;
    open(UpdateRewWindow::DeleteRecord, 1);
    EXPECT_EQ(form_->windowTitle(), "Удалить???");
    EXPECT_EQ(shown("?REW:N_DOK"), "2");
    EXPECT_TRUE(okVisible());
    press("?OK");
    EXPECT_EQ(response_, UpdateRewWindow::RequestCompleted);
    EXPECT_TRUE(sys::recentBeeps().empty());
    EXPECT_TRUE(messages_->titles().empty());
    const auto orders = readRecords<RewRecord>();
    ASSERT_EQ(orders.size(), 2u);
    EXPECT_EQ(orders[0].N_DOK.utf8(), "1");
    EXPECT_EQ(orders[1].N_DOK.utf8(), "3");
    EXPECT_EQ(globals().PRI_DEL, 0);
}

TEST_F(UpdateRewTest, ChangeWritesBackTheOrder) {
    storeRecords(journal(3));
    open(UpdateRewWindow::ChangeRecord, 2);
    EXPECT_EQ(form_->windowTitle(), "Изменить???");
    press("?BUTTON8");  // the journal's orders are not complete
    press("?BUTTON7");
    enter("?REW:SUMMA", "12345.67");
    press("?OK");
    EXPECT_EQ(response_, UpdateRewWindow::RequestCompleted);
    const auto orders = readRecords<RewRecord>();
    ASSERT_EQ(orders.size(), 3u);
    EXPECT_EQ(+orders[2].SUMMA, 12345.67);
    EXPECT_EQ(+orders[2].DDD, 99999 - orders[2].D_DOK);
}

TEST_F(UpdateRewTest, ControlOffLetsAnIncompleteOrderBeSaved) {
    open(UpdateRewWindow::InsertRecord);
    press("?BUTTON8");
    EXPECT_EQ(shown("?MES_REW"), "Контроль снят !!!");
    EXPECT_FALSE(okVisible());
    press("?BUTTON7");
    EXPECT_TRUE(okVisible());
    EXPECT_EQ(shown("?MES_REW"), "Нажмите ОК для записи в базу");
    EXPECT_TRUE(sys::recentBeeps().empty());

    press("?BUTTON14");
    EXPECT_EQ(shown("?MES_REW"), "Контроль восстановлен !!!");
    EXPECT_FALSE(okVisible());
    press("?BUTTON8");
    press("?BUTTON7");
    press("?OK");
    EXPECT_EQ(response_, UpdateRewWindow::RequestCompleted);
    const auto orders = readRecords<RewRecord>();
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].N_DOK.utf8(), "1");
    EXPECT_TRUE(orders[0].N_SC_B.blank());
    EXPECT_EQ(+orders[0].PRI, 1);  // the first order of the file
    EXPECT_EQ(+orders[0].DDD, 99999);
}

TEST_F(UpdateRewTest, CloseCancelsAndClearsTheSwitch) {
    open(UpdateRewWindow::InsertRecord);
    press("?BUTTON8");
    enter("?REW:N_POL", "ООО Черновик");
    press("?CANCEL");
    EXPECT_EQ(response_, UpdateRewWindow::RequestCancelled);
    EXPECT_EQ(globals().KONTR, 0);
    EXPECT_TRUE(readRecords<RewRecord>().empty());
}

TEST_F(UpdateRewTest, TabbingOntoRememberRecipientStoresTheRecipient) {
    open(UpdateRewWindow::InsertRecord);
    enter("?REW:N_SC_B", QString::fromUtf8(test::kRecipientAccount.data()));
    enter("?REW:N_POL", "ООО Получатель");
    enter("?REW:MFO_B", "044525225");
    EXPECT_TRUE(readRecords<PolRecord>().empty());

    // The control before it in the tab order.
    QWidget* before = ctl("?REW:D_DOK");
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    flush();
    ASSERT_EQ(QApplication::focusWidget(), ctl("?BUTTON3"));
    EXPECT_EQ(shown("?MES_REW"), "Задание выполнено");
    const auto list = readRecords<PolRecord>();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(+list[0].NOMER, 1);
    EXPECT_EQ(list[0].N_SC.utf8(), test::kRecipientAccount);
    EXPECT_EQ(list[0].BIK.utf8(), "44525225");

    // Pressing it as well adds nothing more.
    press("?BUTTON3");
    EXPECT_EQ(readRecords<PolRecord>().size(), 1u);
}

TEST_F(UpdateRewTest, RememberPayerOnPress) {
    open(UpdateRewWindow::InsertRecord);
    enter("?REW:N_SC_A", QString::fromUtf8(test::kPayerAccount.data()));
    enter("?REW:N_PLA", "ООО Ромашка");
    press("?BUTTON10");
    press("?BUTTON10");
    EXPECT_EQ(shown("?MES_REW"), "Задание выполнено");
    const auto payers = readRecords<KbpRecord>();
    ASSERT_EQ(payers.size(), 1u);
    EXPECT_EQ(payers[0].N_PLA.utf8(), "ООО Ромашка");
}

TEST_F(UpdateRewTest, HistoryKeyRestoresAFieldFromTheLastSavedOrder) {
    open(UpdateRewWindow::InsertRecord);
    typeCompleteOrder();
    enter("?REW:N_POL", "ООО Альфа");
    press("?BUTTON7");
    press("?OK");
    ASSERT_EQ(response_, UpdateRewWindow::RequestCompleted);
    flush();

    open(UpdateRewWindow::InsertRecord);
    EXPECT_EQ(shown("?REW:N_POL"), "");
    QWidget* name = ctl("?REW:N_POL");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(shown("?REW:N_POL"), "ООО Альфа");
    EXPECT_EQ(thread_.dct.REW.N_POL.utf8(), "ООО Альфа");
    // The number is the form's own, not the history's.
    EXPECT_EQ(shown("?REW:N_DOK"), "2");
}

TEST_F(UpdateRewTest, SpinBoxesWriteTheirCodesIntoTheFields) {
    open(UpdateRewWindow::InsertRecord);
    struct Case {
        const char* spin;
        const char* entry;
        int steps;
        const char* want;
    };
    for (const Case c :
         {Case{"?REW:P101:2", "?REW:P101", 1, "01"}, Case{"?REW:P106:2", "?REW:P106", 3, "ЗД"},
          Case{"?REW:P107_1:2", "?REW:P107_1", 5, "МС"}, Case{"?REW:P108:2", "?REW:P108", 2, "ТР"},
          Case{"?REW:P110:2", "?REW:P110", 8, "ИШ"},
          Case{"?REW:STRI:2", "?REW:STRI", 1, "ЭЛЕКТРОННО"}}) {
        SCOPED_TRACE(c.spin);
        auto* spin = ctl<QAbstractSpinBox>(c.spin);
        ASSERT_NE(spin, nullptr);
        for (int i = 0; i < c.steps; ++i) spin->stepUp();
        EXPECT_EQ(shown(c.entry), QString::fromUtf8(c.want));
    }
    EXPECT_EQ(thread_.dct.REW.P110.utf8(), "ИШ");
    // The underscore line is cut to the field's ten characters.
    auto* stri = ctl<QAbstractSpinBox>("?REW:STRI:2");
    for (int i = 0; i < 5; ++i) stri->stepUp();
    EXPECT_EQ(thread_.dct.REW.STRI.raw(), std::string(10, '_'));
    EXPECT_EQ(shown("?REW:STRI"), QString(10, QLatin1Char('_')));
}

TEST_F(UpdateRewTest, CopyShowsTheCopysNumberAndAmount) {
    storeRecords(journal(11));
    open(UpdateRewWindow::ChangeRecord, 0);
    press("?BUTTON9");
    EXPECT_EQ(shown("?MES_REW"), "П/п скопировано");
    EXPECT_EQ(shown("?REW:N_DOK"), "12??");
    EXPECT_EQ(shown("?REW:SUMMA"), "0.01");
    EXPECT_EQ(readRecords<RewRecord>().size(), 12u);
}

TEST_F(UpdateRewTest, PrintTakesTheSnapshotAndResetsTheFormAfterwards) {
    storeRecords(journal(4));
    storeRecords(std::vector{test::payer(3, test::kPayerAccount, "ООО Ландыш")});
    open(UpdateRewWindow::InsertRecord);
    auto* spin108 = ctl<QAbstractSpinBox>("?REW:P108:2");
    spin108->stepUp();
    spin108->stepUp();  // "ТР": a document number, so no number sign on paper
    enter("?REW:SUMMA", "1500.25");
    press("?BUTTON8");
    globals().PLAT = 3;  // chosen in the payers' list meanwhile: the reset after printing takes it
    press("?BUTTON4");
    ASSERT_TRUE(QTest::qWaitFor([&] { return globals().PLAT == 0; }));
    EXPECT_EQ(globals().N_DOK_REW.utf8(), "5");
    EXPECT_EQ(globals().SUMMA_REW, 1500.25);
    EXPECT_EQ(globals().G108.utf8(), "ТР");
    EXPECT_TRUE(globals().N_D.blank());
    EXPECT_EQ(shown("?REW:N_PLA"), "ООО Ландыш");
    EXPECT_EQ(shown("?MES_REW"), "");

    spin108->stepDown();  // "00"
    press("?BUTTON4");
    ASSERT_TRUE(QTest::qWaitFor([&] { return globals().N_D.equalsUtf8("N"); }));
}

// Print and the calculator take what is typed first, even while the focus is still in the entry.
TEST_F(UpdateRewTest, PrintAndCalculatorTakeWhatIsStillBeingTyped) {
    sys::setProgramStarter([](const std::string&) { return true; });
    open(UpdateRewWindow::InsertRecord);
    struct Case {
        const char* button;
        const char* entry;
        const char* typed;
    };
    for (const Case c : {Case{"?BUTTON4", "?REW:N_POL", "ООО Печать"},
                         Case{"?BUTTON13", "?REW:N_PLA", "ООО Счёт"}}) {
        SCOPED_TRACE(c.button);
        auto* e = ctl<QLineEdit>(c.entry);
        e->setFocus();
        e->selectAll();
        test::typeText(e, QString::fromUtf8(c.typed));
        form_->post(form_->controlNumber(c.button));
        flush();
        if (ui::WindowProcedure* preview = form_->nestedWindow())
            preview->closeWith(ui::WindowProcedure::RequestCancelled);
        flush();
        EXPECT_EQ(shown(c.entry), QString::fromUtf8(c.typed));
    }
    EXPECT_EQ(globals().N_POL_REW.utf8(), "ООО Печать");
    EXPECT_EQ(thread_.dct.REW.N_POL.utf8(), "ООО Печать");
    EXPECT_EQ(thread_.dct.REW.N_PLA.utf8(), "ООО Счёт");
}

// Every entry and code list of the form shows its longest value whole at the designed size.
TEST_F(UpdateRewTest, EntriesAndCodeListsShowTheirLongestValuesWhole) {
    open(UpdateRewWindow::InsertRecord);
    const auto showsWhole = [](QLineEdit* e, const QString& text) {
        e->setText(text);
        e->setCursorPosition(static_cast<int>(text.size()));
        e->grab();  // the scroll is settled when the entry paints
        return e->cursorPositionAt(QPoint(e->contentsRect().left() + 3, e->height() / 2)) == 0;
    };
    struct Case {
        const char* control;
        const char* longest;
    };
    for (const Case c :
         {Case{"?REW:N_SC_A", "40702810900000000012"}, Case{"?REW:K_SC_B", "30101810400000000225"},
          Case{"?REW:P104", "18210102010011000110"}, Case{"?REW:INN_POL", "500100732259"},
          Case{"?REW:MFO_A", "044525225"}, Case{"?REW:P105", "45286555000"},
          Case{"?REW:D_PLA", "28/08/2024"}, Case{"?REW:N_DOK", "12345"}, Case{"?REW:P110", "ИШ"},
          Case{"?REW:P107_1", "МС"}, Case{"?REW:P106", "ЗД"}, Case{"?REW:SUMMA", "1,234,567.89"}}) {
        SCOPED_TRACE(c.control);
        auto* e = ctl<QLineEdit>(c.control);
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(showsWhole(e, QString::fromUtf8(c.longest)));
    }
    for (const ui::Control& c : form_->controls()) {
        auto* spin = qobject_cast<ui::ValueSpin*>(c.widget);
        if (!spin || spin->values().empty() || c.decl->name == "?REW:STRI:2") continue;
        SCOPED_TRACE(std::string(c.decl->name));
        auto* text = spin->findChild<QLineEdit*>();
        ASSERT_NE(text, nullptr);
        for (const std::string& v : spin->values())
            EXPECT_TRUE(showsWhole(text, QString::fromStdString(v))) << v;
    }
    form_->closeWith(ui::WindowProcedure::RequestCancelled);
}

TEST_F(UpdateRewTest, CalculatorStartsWithoutWaitingOrSaysItIsMissing) {
    std::vector<std::string> started;
    sys::setProgramStarter([&](const std::string& line) {
        started.push_back(line);
        return true;
    });
    const QByteArray path = qgetenv("PATH");
    const std::filesystem::path bin = work_.path() / "bin";
    std::filesystem::create_directories(bin);
    open(UpdateRewWindow::InsertRecord);

    qputenv("PATH", QByteArray::fromStdString(bin.string()));
    press("?BUTTON13");
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(shown("?MES_REW"), QString::fromUtf8(kNoCalculator.data()));

    { std::ofstream(bin / "galculator") << "#!/bin/sh\n"; }
    std::filesystem::permissions(bin / "galculator", std::filesystem::perms::owner_all);
    press("?BUTTON13");
    qputenv("PATH", path);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], "galculator");
    EXPECT_EQ(shown("?MES_REW"), "");
}

TEST_F(UpdateRewTest, WindowHasItsDesignedSizeAsMinimumAndRemembersItsPlace) {
    open(UpdateRewWindow::InsertRecord);
    const QSize designed = form_->units().size(431, 279);
    EXPECT_EQ(form_->minimumSize(), designed);
    EXPECT_EQ(form_->size(), designed);
    auto* sheet = ctl<QTabWidget>("?CURRENTTAB");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->count(), 1);
    form_->resize(designed + QSize(100, 60));
    press("?CANCEL");
    flush();
    open(UpdateRewWindow::InsertRecord);
    EXPECT_EQ(form_->size(), designed + QSize(100, 60));
}

}  // namespace
}  // namespace pordex
