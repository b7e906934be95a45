#include "orders/ui/rew_tab.h"

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "orders/ui/update_rew.h"
#include "orders_ui/order_window_test.h"
#include "orders_ui/update_rew_fixture.h"
#include "platform/runtime/date.h"
#include "platform/system/beep.h"
#include "platform/ui/platform_setup.h"
#include "platform/ui/settings_store.h"
#include "support/temp_workdir.h"
#include "support/type_text.h"

namespace pordex {
namespace {

using test::readRecords;
using test::storeRecords;

RewRecord order(LONG date, std::string_view number, std::string_view payer,
                std::string_view recipient = "ООО Получатель", std::string_view purpose = "Оплата",
                std::string_view bank = "ПАО Сбербанк") {
    RewRecord r{};
    r.D_DOK = date;
    r.DDD = 99999 - date;
    r.N_DOK = number;
    r.N_D = "N";
    r.N_PLA = payer;
    r.N_POL = recipient;
    r.NAME = purpose;
    r.BANK_PLA = bank;
    r.N_BANK = "АО Банк получателя";
    r.MFO_B = 44525225;
    r.N_SC_B = "40702810700000000077";
    r.N_SC_A = "40702810900000000012";
    r.SUMMA = 1234567.5;
    return r;
}

// Six orders over three days (one undated); payers, recipients, purposes and banks to search.
std::vector<RewRecord> sampleJournal() {
    const LONG d1 = DATE(3, 1, 2024), d2 = DATE(3, 2, 2024), d3 = DATE(3, 3, 2024);
    return {
        order(d1, "1", "ООО «Ромашка»", "ИФНС № 7", "Налог на прибыль", "ПАО Сбербанк"),
        order(d2, "2", "ООО «ТОРГ-СЕРВИС»", "ООО Поставщик", "Оплата бумаги", "АО Альфа-Банк"),
        order(d2, "10", "ЗАО Trade House", "ООО Поставщик", "Оплата картриджей", "ПАО Сбербанк"),
        order(d3, "3", "ООО «Ромашка»", "ООО Энергосбыт", "Оплата электроэнергии", "АО Альфа-Банк"),
        order(99999, "99", "ООО «Ромашка»", "ООО Поставщик", "Оплата бумаги", "ПАО Сбербанк"),
        order(d2, "9", "ИП Торговцев", "ООО Энергосбыт", "Оплата бумаги", "ПАО Сбербанк"),
    };
}

class RewTabTest : public test::OrderWindowTest {
  protected:
    RewTab* openJournal() {
        QPointer<RewTab> j = REW_TAB();
        flush();
        return j;
    }

    // The listed orders as "number payer", top to bottom.
    static std::vector<std::string> rows(RewTab* j) {
        std::vector<std::string> out;
        ui::BrowseModel* m = j->list()->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            RewRecord rec;
            std::memcpy(static_cast<void*>(&rec), m->row(r).bytes.data(), sizeof rec);
            out.push_back(rec.N_DOK.utf8() + " " + rec.N_PLA.utf8());
        }
        return out;
    }
    static RewRecord highlighted(RewTab* j) {
        RewRecord rec;
        const int r = j->list()->currentRow();
        EXPECT_GE(r, 0);
        if (r >= 0)
            std::memcpy(static_cast<void*>(&rec), j->list()->model()->row(r).bytes.data(),
                        sizeof rec);
        return rec;
    }
    static QString cell(RewTab* j, int row, int column) {
        ui::BrowseModel* m = j->list()->model();
        return m->data(m->index(row, column), Qt::DisplayRole).toString();
    }
    static QString shown(ui::WindowProcedure* w, std::string_view name) {
        QWidget* c = w->control(name);
        if (auto* e = qobject_cast<QLineEdit*>(c)) return e->text();
        if (auto* s = qobject_cast<QAbstractSpinBox*>(c)) return s->text();
        if (auto* l = qobject_cast<QLabel*>(c)) return l->text();
        ADD_FAILURE() << "no control " << name;
        return {};
    }
    // Types into an entry as the user does and leaves it with Enter.
    static void enter(ui::WindowProcedure* w, std::string_view name, const QString& text) {
        QWidget* c = w->control(name);
        ASSERT_NE(c, nullptr) << name;
        c->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(c)) e->selectAll();
        if (auto* s = qobject_cast<QAbstractSpinBox*>(c)) s->selectAll();
        QTest::keyClick(c, Qt::Key_Delete);
        test::typeText(c, text);
        QTest::keyClick(c, Qt::Key_Return);
    }
    static void press(ui::WindowProcedure* w, std::string_view name) {
        auto* b = qobject_cast<QPushButton*>(w->control(name));
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
        flush();
    }
    static void search(RewTab* j, const QString& payer, const QString& bank,
                       const QString& recipient, const QString& purpose) {
        enter(j, "?NAME_P", payer);
        enter(j, "?NAME_BNP", bank);
        enter(j, "?NAME_POL", recipient);
        enter(j, "?NAME_N", purpose);
        press(j, "?Find");
    }
    static UpdateRewWindow* form(RewTab* j) {
        return qobject_cast<UpdateRewWindow*>(j->nestedWindow());
    }
    // The form saves what it shows without its checks ("Снять контроль", "Готово???", OK).
    static void saveWithoutChecks(UpdateRewWindow* f) {
        press(f, "?BUTTON8");
        press(f, "?BUTTON7");
        press(f, "?OK");
    }
};

TEST_F(RewTabTest, ListsNewestFirstNumbersDescendingWithColumnsAndDetailPanel) {
    storeRecords(sampleJournal());
    globals().PRI_DEL = 1;
    RewTab* j = openJournal();
    EXPECT_EQ(j->windowTitle(), "Сводный журнал платежных поручений");
    EXPECT_EQ(files::globalErrors().procedureName(), "rew_tab");
    EXPECT_EQ(globals().PRI_DEL, 0);
    EXPECT_EQ(j->tData(), today());
    // Resizable, never smaller than designed; REW and KBP held open (KBP for the form).
    EXPECT_EQ(j->minimumSize(), j->units().size(396, 289));
    EXPECT_EQ(j->dct().Relate.REW.openCount(), 1);
    EXPECT_EQ(j->dct().Relate.KBP.openCount(), 1);
    EXPECT_EQ(shown(j, "?T_DATA"), QString::fromStdString([] {
                  char b[16];
                  std::snprintf(b, sizeof b, "%02d/%02d/%04d", DAY(today()), MONTH(today()),
                                YEAR(today()));
                  return std::string(b);
              }()));

    // Newest date first; within a date by number as text, descending; the undated one is out.
    EXPECT_EQ(rows(j),
              (std::vector<std::string>{"3 ООО «Ромашка»", "9 ИП Торговцев", "2 ООО «ТОРГ-СЕРВИС»",
                                        "10 ЗАО Trade House", "1 ООО «Ромашка»"}));
    EXPECT_EQ(cell(j, 0, 0), "03/03/2024");
    EXPECT_EQ(cell(j, 0, 1), "3");
    EXPECT_EQ(cell(j, 0, 2), "044525225");
    EXPECT_EQ(cell(j, 0, 3), "40702810700000000077");
    EXPECT_EQ(cell(j, 0, 4), "40702810900000000012");
    EXPECT_EQ(cell(j, 0, 5), "1,234,567.50");

    ui::BrowseModel* m = j->list()->model();
    const char* headers[] = {"Дата", "Nдок", "БИК банка", "Л/с получателя", "Л/с плательщика",
                             "Сумма"};
    const int widths[] = {44, 21, 41, 85, 85, 65};
    const Qt::Alignment data[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight,
                                  Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight};
    for (int c = 0; c < 6; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QString::fromUtf8(headers[c]));
        const auto head =
            m->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(bool(head & Qt::AlignHCenter), c >= 2);
        EXPECT_TRUE(m->data(m->index(0, c), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                    data[c]);
        EXPECT_EQ(j->list()->view()->columnWidth(c), j->units().x(widths[c]));
        EXPECT_EQ(j->list()->view()->horizontalHeader()->sectionResizeMode(c),
                  QHeaderView::Interactive);
        // Headers and the widest values of the pictures fit their designed widths in the
        // window's font (two pixels of margin each side, and the column's indent).
        EXPECT_EQ(m->headerData(c, Qt::Horizontal, Qt::FontRole).value<QFont>(), j->font());
        const QFontMetrics fm(j->font());
        const int indents[] = {3, 0, 1, 0, 0, 1};
        EXPECT_LE(fm.horizontalAdvance(cell(j, 0, c)) + 4 + j->units().x(indents[c]),
                  j->list()->view()->columnWidth(c));
    }

    // The panel shows the highlighted order from the row itself, and follows the highlight.
    EXPECT_EQ(shown(j, "?REW:N_PLA"), "ООО «Ромашка»");
    EXPECT_EQ(shown(j, "?REW:N_POL"), "ООО Энергосбыт");
    EXPECT_EQ(shown(j, "?REW:NAME"), "Оплата электроэнергии");
    EXPECT_EQ(shown(j, "?REW:BANK_PLA"), "АО Альфа-Банк");
    EXPECT_EQ(shown(j, "?REW:N_BANK"), "АО Банк получателя");
    QTest::keyClick(j->list()->view(), Qt::Key_Down);
    EXPECT_EQ(shown(j, "?REW:N_PLA"), "ИП Торговцев");
    EXPECT_EQ(shown(j, "?REW:NAME"), "Оплата бумаги");
    EXPECT_EQ(shown(j, "?REW:BANK_PLA"), "ПАО Сбербанк");
}

TEST_F(RewTabTest, SearchTextsAloneAndTogetherBlanksAndCase) {
    storeRecords(sampleJournal());
    RewTab* j = openJournal();
    const struct {
        const char* payer;
        const char* bank;
        const char* recipient;
        const char* purpose;
        std::vector<std::string> listed;
    } cases[] = {
        {"ромашка", "", "", "", {"3 ООО «Ромашка»", "1 ООО «Ромашка»"}},
        {"торг", "", "", "", {"9 ИП Торговцев", "2 ООО «ТОРГ-СЕРВИС»"}},  // Cyrillic case
        {"TRADE house", "", "", "", {"10 ЗАО Trade House"}},              // Latin case
        {"", "альфа", "", "", {"3 ООО «Ромашка»", "2 ООО «ТОРГ-СЕРВИС»"}},
        {"", "", "энергосбыт", "", {"3 ООО «Ромашка»", "9 ИП Торговцев"}},
        {"", "", "", "бумаги", {"9 ИП Торговцев", "2 ООО «ТОРГ-СЕРВИС»"}},
        {"", "", "поставщик", "бумаги", {"2 ООО «ТОРГ-СЕРВИС»"}},  // two together
        {"ромашка", "сбербанк", "", "", {"1 ООО «Ромашка»"}},
        {" торг", "", "", "", {"9 ИП Торговцев"}},  // a leading blank counts
        {"торг   ", "", "", "", {"9 ИП Торговцев", "2 ООО «ТОРГ-СЕРВИС»"}},  // trailing do not
        {"", "", "", "нет такого", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.payer) + "|" + c.bank + "|" + c.recipient + "|" + c.purpose);
        search(j, c.payer, c.bank, c.recipient, c.purpose);
        EXPECT_EQ(rows(j), c.listed);
    }
    // The search starts from the highlighted order; what passes only above it is still shown.
    press(j, "?ClearFind");
    QTest::keyClick(j->list()->view(), Qt::Key_End);
    ASSERT_EQ(highlighted(j).N_DOK.utf8(), "1");
    search(j, "", "", "энергосбыт", "");
    EXPECT_EQ(rows(j), (std::vector<std::string>{"3 ООО «Ромашка»", "9 ИП Торговцев"}));
    search(j, "", "", "", "нет такого");
    // An empty list leaves an empty panel and nothing to change or delete.
    EXPECT_EQ(shown(j, "?REW:N_PLA"), "");
    EXPECT_FALSE(j->control("?Change")->isEnabled());
    EXPECT_FALSE(j->control("?Delete")->isEnabled());
}

TEST_F(RewTabTest, TypingAloneRebuildsNothingAndResetEmptiesAllFour) {
    storeRecords(sampleJournal());
    RewTab* j = openJournal();
    enter(j, "?NAME_P", "ромашка");
    EXPECT_EQ(rows(j).size(), 5u);  // not rebuilt by typing
    EXPECT_TRUE(globals().NAME_P.equalsUtf8("ромашка"));
    press(j, "?Find");
    EXPECT_EQ(rows(j).size(), 2u);

    search(j, "ромашка", "сбер", "ифнс", "налог");
    EXPECT_EQ(rows(j), (std::vector<std::string>{"1 ООО «Ромашка»"}));
    press(j, "?ClearFind");
    EXPECT_EQ(rows(j).size(), 5u);
    for (const char* name : {"?NAME_P", "?NAME_BNP", "?NAME_POL", "?NAME_N"})
        EXPECT_EQ(shown(j, name), "") << name;
    const Globals& g = globals();
    EXPECT_TRUE(g.NAME_P.blank() && g.NAME_BNP.blank() && g.NAME_POL.blank() && g.NAME_N.blank());
}

TEST_F(RewTabTest, SearchTextsSurviveClosingAndReopening) {
    storeRecords(sampleJournal());
    RewTab* j = openJournal();
    search(j, "", "", "поставщик", "бумаги");
    ASSERT_EQ(rows(j).size(), 1u);
    press(j, "?Close");
    EXPECT_EQ(files::globalErrors().procedureName(), "");
    // The place is kept under the procedure's name.
    EXPECT_TRUE(ui::iniMgr().fetch("rew_tab").x.has_value());

    RewTab* again = openJournal();
    EXPECT_EQ(shown(again, "?NAME_POL"), "поставщик");
    EXPECT_EQ(shown(again, "?NAME_N"), "бумаги");
    EXPECT_EQ(rows(again), (std::vector<std::string>{"2 ООО «ТОРГ-СЕРВИС»"}));
}

TEST_F(RewTabTest, InsertChangeDeleteThroughTheFormRefreshListAndPanel) {
    storeRecords(sampleJournal());
    RewTab* j = openJournal();

    // Insert: no standard recipient carried over, the form on the journal's thread.
    globals().K_POL = 5;
    press(j, "?Insert");
    UpdateRewWindow* f = form(j);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->request(), UpdateRewWindow::InsertRecord);
    EXPECT_EQ(&f->thread(), &j->thread());
    EXPECT_EQ(globals().K_POL, 0);
    enter(f, "?REW:D_DOK", "05/03/2024");
    enter(f, "?REW:N_PLA", "ООО Новый плательщик");
    enter(f, "?REW:NAME", "Оплата новая");
    saveWithoutChecks(f);
    EXPECT_EQ(j->nestedWindow(), nullptr);
    ASSERT_EQ(rows(j).front(), "7 ООО Новый плательщик");  // newest: at the top, highlighted
    EXPECT_EQ(j->list()->currentRow(), 0);
    EXPECT_EQ(shown(j, "?REW:N_PLA"), "ООО Новый плательщик");
    EXPECT_EQ(shown(j, "?REW:NAME"), "Оплата новая");

    // Change the order below it: the row and the panel show the new values.
    QTest::keyClick(j->list()->view(), Qt::Key_Down);
    ASSERT_EQ(shown(j, "?REW:N_PLA"), "ООО «Ромашка»");
    press(j, "?Change");
    f = form(j);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->request(), UpdateRewWindow::ChangeRecord);
    enter(f, "?REW:N_PLA", "ООО «Лютик»");
    enter(f, "?REW:SUMMA", "77.00");
    saveWithoutChecks(f);
    EXPECT_EQ(rows(j)[1], "3 ООО «Лютик»");
    EXPECT_EQ(j->list()->currentRow(), 1);
    EXPECT_EQ(cell(j, 1, 5), "77.00");
    EXPECT_EQ(shown(j, "?REW:N_PLA"), "ООО «Лютик»");

    // Delete: the form opens for deleting with PRI_DEL = 1; after it, PRI_DEL is 0 again.
    press(j, "?Delete");
    f = form(j);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->request(), UpdateRewWindow::DeleteRecord);
    EXPECT_EQ(globals().PRI_DEL, 1);
    EXPECT_EQ(f->windowTitle(), "Удалить???");
    press(f, "?OK");
    EXPECT_EQ(globals().PRI_DEL, 0);
    EXPECT_EQ(rows(j), (std::vector<std::string>{"7 ООО Новый плательщик", "9 ИП Торговцев",
                                                 "2 ООО «ТОРГ-СЕРВИС»", "10 ЗАО Trade House",
                                                 "1 ООО «Ромашка»"}));
    EXPECT_EQ(readRecords<RewRecord>().size(), 6u);
    // The panel shows the row now highlighted, not the deleted order.
    EXPECT_NE(shown(j, "?REW:N_PLA"), "ООО «Лютик»");
    EXPECT_EQ(shown(j, "?REW:N_PLA").toStdString(), highlighted(j).N_PLA.utf8());
}

TEST_F(RewTabTest, DeleteCancelledOrAskedByKeyStillEndsWithTheFlagDown) {
    storeRecords(sampleJournal());
    RewTab* j = openJournal();
    QTest::keyClick(j->list()->view(), Qt::Key_Delete);
    UpdateRewWindow* f = form(j);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(globals().PRI_DEL, 1);
    press(f, "?CANCEL");
    EXPECT_EQ(j->nestedWindow(), nullptr);
    EXPECT_EQ(globals().PRI_DEL, 0);
    EXPECT_EQ(rows(j).size(), 5u);

    // Insert from the context menu clears K_POL too.
    globals().K_POL = 3;
    QList<QAction*> items = j->list()->contextMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    items[0]->trigger();
    f = form(j);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->request(), UpdateRewWindow::InsertRecord);
    EXPECT_EQ(globals().K_POL, 0);
    press(f, "?CANCEL");
}

// Two journals, each on its own thread with its own open form; either may end first.
TEST_F(RewTabTest, TwoJournalsOnTwoThreadsEachWithItsFormClosedInEitherOrder) {
    storeRecords(sampleJournal());
    for (bool firstEndsFirst : {true, false}) {
        SCOPED_TRACE(firstEndsFirst);
        QPointer<RewTab> a = openJournal();
        QPointer<RewTab> b = openJournal();
        ASSERT_NE(&a->thread(), &b->thread());
        QTest::keyClick(a->list()->view(), Qt::Key_Down);
        press(a, "?Change");
        press(b, "?Insert");
        QPointer<UpdateRewWindow> fa = form(a);
        QPointer<UpdateRewWindow> fb = form(b);
        ASSERT_TRUE(fa && fb);
        EXPECT_EQ(&fa->thread(), &a->thread());
        EXPECT_EQ(&fb->thread(), &b->thread());
        // Each form works on its own thread's buffer.
        EXPECT_EQ(shown(fa, "?REW:N_PLA"), "ИП Торговцев");
        EXPECT_EQ(shown(fb, "?REW:N_PLA"), "");

        QPointer<RewTab> first = firstEndsFirst ? a : b;
        QPointer<RewTab> second = firstEndsFirst ? b : a;
        QPointer<UpdateRewWindow> firstForm = firstEndsFirst ? fa : fb;
        QPointer<UpdateRewWindow> secondForm = firstEndsFirst ? fb : fa;
        press(firstForm, "?CANCEL");
        press(first, "?Close");
        flush();
        EXPECT_FALSE(first);
        ASSERT_TRUE(second && secondForm);
        // The other journal and its form go on: the form saves and its journal shows it.
        enter(secondForm, "?REW:N_PLA", "ООО Второй");
        saveWithoutChecks(secondForm);
        EXPECT_TRUE(secondForm.isNull() || !secondForm->isVisible());
        const auto listed = rows(second);
        const std::string saved = firstEndsFirst ? "7 ООО Второй" : "9 ООО Второй";
        EXPECT_NE(std::find(listed.begin(), listed.end(), saved), listed.end());
        press(second, "?Close");
        flush();
        EXPECT_FALSE(second);
        // Put the journal back as it was for the next round.
        files::RecordFile file(rewFile());
        ASSERT_TRUE(file.open());
        std::vector<files::Row> all;
        ASSERT_TRUE(file.read(files::Order::file(), files::Position::first(),
                              files::Direction::Forward, 100, all));
        for (const files::Row& r : all) ASSERT_TRUE(file.remove(r.id));
        const auto sample = sampleJournal();
        ASSERT_TRUE(file.insertAll(sample.data(), sample.size()));
    }
}

}  // namespace
}  // namespace pordex
