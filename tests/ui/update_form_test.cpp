#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/type_text.h"
#include "ui/test_windows.h"
#include "ui/ui_fixture.h"

namespace pordex::test {
namespace {

class UpdateFormTest : public UiTest {
  protected:
    PayerList* openList() {
        auto thread = std::make_unique<WindowThread>();
        auto* w = new PayerList(*thread, nullptr);
        w->adoptThread(std::move(thread));
        w->run();
        return w;
    }

    static PayerForm* formOf(PayerList* w) { return dynamic_cast<PayerForm*>(w->nestedWindow()); }

    static void setEntry(ui::WindowProcedure* form, const char* name, const QString& text) {
        auto* e = form->controlAs<QLineEdit>(name);
        ASSERT_NE(e, nullptr) << name;
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        typeText(e, text);
    }

    static void pressOk(ui::WindowProcedure* form) { form->controlAs<QPushButton>("?OK")->click(); }
};

TEST_F(UpdateFormTest, InsertChangeAndDeleteThroughTheList) {
    storeRecords<KbpRecord>({payer(1, "Первый")});
    PayerList* w = openList();

    QTest::keyClick(w->list()->view(), Qt::Key_Insert);
    PayerForm* form = formOf(w);
    ASSERT_NE(form, nullptr);
    setEntry(form, "?KBP:NOMER", "2");
    setEntry(form, "?KBP:N_PLA", QStringLiteral("Второй"));
    pressOk(form);
    EXPECT_EQ(w->nestedWindow(), nullptr);
    EXPECT_EQ(w->thread().GlobalResponse, WindowThread::RequestCompleted);
    std::vector<KbpRecord> stored = readRecords<KbpRecord>();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(int{stored[1].NOMER}, 2);
    EXPECT_TRUE(stored[1].N_PLA.equalsUtf8("Второй"));
    // The list shows the new payer and stands on it.
    EXPECT_EQ(w->list()->model()->rowCount(), 2);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 2);

    QTest::keyClick(w->list()->view(), Qt::Key_Return, Qt::ControlModifier);
    form = formOf(w);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->controlAs<QLineEdit>("?KBP:N_PLA")->text(), QStringLiteral("Второй"));
    setEntry(form, "?KBP:N_PLA", QStringLiteral("Второй изменен"));
    pressOk(form);
    stored = readRecords<KbpRecord>();
    EXPECT_TRUE(stored[1].N_PLA.equalsUtf8("Второй изменен"));
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 2);

    QTest::keyClick(w->list()->view(), Qt::Key_Delete);
    form = formOf(w);
    ASSERT_NE(form, nullptr);
    pressOk(form);  // deletes without a further question
    stored = readRecords<KbpRecord>();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(int{stored[0].NOMER}, 1);
    EXPECT_EQ(w->list()->model()->rowCount(), 1);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 1);  // the buffer is on the row that is left

    // "Закрыть" leaves without saving whatever was typed.
    QTest::keyClick(w->list()->view(), Qt::Key_Insert);
    form = formOf(w);
    setEntry(form, "?KBP:NOMER", "5");
    form->controlAs<QPushButton>("?CANCEL")->click();
    EXPECT_EQ(w->thread().GlobalResponse, WindowThread::RequestCancelled);
    EXPECT_EQ(readRecords<KbpRecord>().size(), 1u);
    EXPECT_EQ(int{w->dct().KBP.NOMER}, 1);
}

TEST_F(UpdateFormTest, ARefusedRecordShowsTheMessageAndKeepsTheFormWithItsValues) {
    storeRecords<KbpRecord>({payer(1, "Первый")});
    PayerList* w = openList();
    QTest::keyClick(w->list()->view(), Qt::Key_Insert);
    PayerForm* form = formOf(w);
    ASSERT_NE(form, nullptr);
    setEntry(form, "?KBP:NOMER", "1");  // the number is taken: KBP:KEY_1 is unique
    setEntry(form, "?KBP:N_PLA", QStringLiteral("Дубль"));
    pressOk(form);

    EXPECT_EQ(formOf(w), form);
    EXPECT_TRUE(form->isVisible());
    const auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->windowTitle(), QStringLiteral("Ошибка дублирования в ключе"));
    EXPECT_EQ(boxes[0]->text(),
              QStringLiteral("Добавление этой записи создает дублирование для ключа: Kbp:KEY_1"));
    EXPECT_EQ(boxes[0]->windowModality(), Qt::WindowModal);
    EXPECT_EQ(form->controlAs<QLineEdit>("?KBP:N_PLA")->text(), QStringLiteral("Дубль"));
    EXPECT_EQ(readRecords<KbpRecord>().size(), 1u);
    boxes[0]->button(QMessageBox::Ok)->click();
    flush();

    // Corrected, the same form saves.
    setEntry(form, "?KBP:NOMER", "3");
    pressOk(form);
    EXPECT_EQ(w->nestedWindow(), nullptr);
    const std::vector<KbpRecord> stored = readRecords<KbpRecord>();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(int{stored[1].NOMER}, 3);
    EXPECT_TRUE(stored[1].N_PLA.equalsUtf8("Дубль"));
}

// OK on a change that altered nothing writes nothing: a change made meanwhile by another
// connection survives it, while an altered change writes the form's record.
TEST_F(UpdateFormTest, AnUnalteredChangeWritesNothing) {
    storeRecords<KbpRecord>({payer(1, "Первый")});
    PayerList* w = openList();
    QTest::keyClick(w->list()->view(), Qt::Key_Return, Qt::ControlModifier);
    PayerForm* form = formOf(w);
    ASSERT_NE(form, nullptr);
    {
        files::RecordFile other(kbpFile());
        ASSERT_TRUE(other.open());
        std::vector<files::Row> rows;
        other.read(files::Order::file(), files::Position::first(), files::Direction::Forward, 1,
                   rows);
        ASSERT_EQ(rows.size(), 1u);
        KbpRecord changed = payer(1, "Изменен другим");
        ASSERT_TRUE(other.update(rows[0].id, &changed));
    }
    pressOk(form);
    EXPECT_EQ(w->nestedWindow(), nullptr);
    EXPECT_EQ(w->thread().GlobalResponse, WindowThread::RequestCompleted);
    EXPECT_TRUE(readRecords<KbpRecord>()[0].N_PLA.equalsUtf8("Изменен другим"));

    QTest::keyClick(w->list()->view(), Qt::Key_Return, Qt::ControlModifier);
    form = formOf(w);
    setEntry(form, "?KBP:N_SC_A", "40702810");
    pressOk(form);
    const KbpRecord r = readRecords<KbpRecord>()[0];
    EXPECT_TRUE(r.N_SC_A.equalsUtf8("40702810"));
    EXPECT_TRUE(r.N_PLA.equalsUtf8("Изменен другим"));  // the list had read it again
}

// The history key (Ctrl+') puts back a field of the record last saved through the form on the
// same thread; on another thread nothing was saved, so it gives an empty value.
TEST_F(UpdateFormTest, FieldHistoryIsKeptPerThread) {
    storeRecords<KbpRecord>({});
    PayerList* a = openList();
    PayerList* b = openList();

    QTest::keyClick(a->list()->view(), Qt::Key_Insert);
    PayerForm* form = formOf(a);
    setEntry(form, "?KBP:NOMER", "1");
    setEntry(form, "?KBP:N_PLA", QStringLiteral("Из истории"));
    pressOk(form);
    ASSERT_EQ(a->nestedWindow(), nullptr);

    QTest::keyClick(a->list()->view(), Qt::Key_Insert);
    form = formOf(a);
    auto* name = form->controlAs<QLineEdit>("?KBP:N_PLA");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QStringLiteral("Из истории"));
    EXPECT_TRUE(a->dct().KBP.N_PLA.equalsUtf8("Из истории"));
    // Only the field asked for comes back.
    EXPECT_EQ(form->controlAs<QLineEdit>("?KBP:NOMER")->text(), QStringLiteral("0"));
    form->closeWith(WindowThread::RequestCancelled);

    QTest::keyClick(b->list()->view(), Qt::Key_Insert);
    PayerForm* other = formOf(b);
    ASSERT_NE(other, nullptr);
    auto* otherName = other->controlAs<QLineEdit>("?KBP:N_PLA");
    typeText(otherName, QStringLiteral("набрано"));
    QTest::keyClick(otherName, Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(otherName->text(), QStringLiteral(""));
}

}  // namespace
}  // namespace pordex::test
