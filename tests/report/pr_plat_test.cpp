// PR_PLAT end to end: the print snapshot, PRP's records, the progress window and the preview.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "data/globals.h"
#include "data/window_thread.h"
#include "pdf_text.h"
#include "platform/files/error_manager.h"
#include "platform/report/preview_window.h"
#include "platform/report/progress_window.h"
#include "platform/runtime/date.h"
#include "platform/ui/settings_store.h"
#include "print/print_snapshot.h"
#include "print/ui/pr_plat.h"
#include "support/temp_workdir.h"
#include "window_wait.h"

namespace pordex::print {
namespace {

using report::PreviewWindow;
using report::ProgressWindow;
using test::visibleWindow;
using test::waitUntil;

class PrPlatTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobals();
        caller.show();
        files::globalErrors().setProcedureName("UpdateRew");
        RewRecord r{};
        r.N_DOK = "77";
        r.D_DOK = DATE(7, 1, 2005);
        r.SUMMA = 0.5;
        r.N_PLA = "ООО Ромашка";
        r.N_POL = "ООО Василек";
        r.NAME = "Оплата по счету 5 в т.ч. НДС 18%";
        r.N_SC_A = "40702810900000000001";
        r.MFO_A = 44525225;
        r.N_D = "N";
        takePrintSnapshot(r);
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &caller && w->isVisible()) w->close();
        QTest::qWait(20);
        files::globalErrors().setProcedureName();
        resetGlobals();
    }

    // PRP with `n` records.
    void fillPrp(int n) {
        thread.dct.Relate.PRP.open();
        for (int i = 0; i < n; ++i) {
            thread.dct.PRP.T = "1";
            ASSERT_TRUE(thread.dct.Access.PRP.insert());
        }
        thread.dct.Relate.PRP.close();
    }

    void run() {
        PR_PLAT(thread, &caller, [this](BYTE r) { responses.push_back(r); });
    }

    PreviewWindow* waitForPreview() {
        PreviewWindow* preview = nullptr;
        waitUntil([&] {
            preview = visibleWindow<PreviewWindow>(QStringLiteral("PreviewWindow"));
            return preview != nullptr || !responses.empty();
        });
        return preview;
    }

    test::TempWorkdir dir;
    WindowThread thread;
    QWidget caller;
    std::vector<BYTE> responses;
};

TEST_F(PrPlatTest, OnePagePerRecordOfPrpShownInTheRussianPreview) {
    fillPrp(2);
    run();
    auto* progress = visibleWindow<ProgressWindow>(QStringLiteral("ProgressWindow"));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Подготовка ....."));
    EXPECT_EQ(files::globalErrors().procedureName(), "pr_plat");

    PreviewWindow* preview = waitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->pageCount(), 2);
    EXPECT_EQ(preview->zoom(), 100);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Предварительный просмотр"));
    QStringList menus;
    for (QAction* a : preview->findChild<QMenuBar*>()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("Файл"), QStringLiteral("Увеличение/уменьшение"),
                                  QStringLiteral("Страница")}));
    EXPECT_TRUE(responses.empty());  // the form waits until the preview is left

    // The pages are the order's: saved as PDF, each shows its number, date and amount.
    QTemporaryDir out;
    ASSERT_TRUE(preview->saveTo(out.path()));
    const auto pages = test::readPdfWords(out.filePath(QStringLiteral("pr_plat.pdf")));
    ASSERT_EQ(pages.size(), 2u);
    for (const auto& page : pages) {
        const QString text = test::pageText(page);
        EXPECT_TRUE(text.contains(QStringLiteral("ПЛАТЕЖНОЕ ПОРУЧЕНИЕ N 77")));
        EXPECT_TRUE(text.contains(QStringLiteral("0-50")));
        EXPECT_TRUE(text.contains(QStringLiteral("50 копеек")));
        EXPECT_TRUE(text.contains(QStringLiteral("044525225")));
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("PreviewMessage")) w->close();

    preview->reject();  // "Выход без печати"
    ASSERT_TRUE(waitUntil([&] { return !responses.empty(); }));
    EXPECT_EQ(responses, std::vector<BYTE>{WindowThread::RequestCompleted});
    EXPECT_EQ(thread.GlobalResponse, WindowThread::RequestCompleted);
    EXPECT_EQ(thread.dct.Relate.PRP.openCount(), 0);
    EXPECT_EQ(files::globalErrors().procedureName(), "UpdateRew");
    EXPECT_EQ(globals().S_R, 0.5);
    EXPECT_EQ(globals().S1.utf8(), "50 копеек");
}

// The printer dialog opened from the preview shows the table's captions for the printer and the
// pages, whatever Qt's own translation calls them.
TEST_F(PrPlatTest, ThePrinterDialogSpeaksTheCaptionTable) {
    fillPrp(1);
    run();
    PreviewWindow* preview = waitForPreview();
    ASSERT_NE(preview, nullptr);
    preview->findChild<QAction*>(QStringLiteral("PrintAction"))->trigger();
    auto* dialog = visibleWindow<QPrintDialog>(QStringLiteral("PrintDialog"));
    ASSERT_NE(dialog, nullptr);
    QStringList texts;
    for (auto* l : dialog->findChildren<QLabel*>()) texts << l->text();
    for (auto* b : dialog->findChildren<QAbstractButton*>()) texts << b->text();
    for (auto* g : dialog->findChildren<QGroupBox*>()) texts << g->title();
    for (const char* caption :
         {"Принтер", "Принтер:", "Драйвер:", "Порт:", "Свойства...", "Страницы", "Все",
          "Страницы с", "по", "Количество копий", "Отмена"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(caption)))
            << caption << " not in " << texts.join(u'|').toStdString();
    // What the table does not name stays as Qt has it.
    EXPECT_TRUE(
        texts.contains(QCoreApplication::translate("QPrintSettingsOutput", "Current Page")));
    dialog->reject();
    preview->reject();
    ASSERT_TRUE(waitUntil([&] { return !responses.empty(); }));
}

TEST_F(PrPlatTest, AnEmptyPrpPrintsNothing) {
    run();
    ASSERT_TRUE(waitUntil([&] { return !responses.empty(); }));
    EXPECT_EQ(visibleWindow<PreviewWindow>(QStringLiteral("PreviewWindow")), nullptr);
    EXPECT_EQ(responses, std::vector<BYTE>{WindowThread::RequestCompleted});
    EXPECT_EQ(thread.dct.Relate.PRP.openCount(), 0);
    EXPECT_EQ(files::globalErrors().procedureName(), "UpdateRew");
}

TEST_F(PrPlatTest, CancelEndsWithTheCancelResponseAndNothingPrinted) {
    fillPrp(1);
    globals().S1 = "прежний текст";
    run();
    EXPECT_TRUE(globals().S1.blank());  // blanked on opening
    auto* progress = visibleWindow<ProgressWindow>(QStringLiteral("ProgressWindow"));
    ASSERT_NE(progress, nullptr);
    // Before the window's first tick: no record has been read.
    QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("?Progress:Cancel")),
                      Qt::LeftButton);
    ASSERT_EQ(responses, std::vector<BYTE>{WindowThread::RequestCancelled});
    EXPECT_EQ(thread.GlobalResponse, WindowThread::RequestCancelled);
    QTest::qWait(3 * ProgressWindow::kTimerMs);
    EXPECT_EQ(visibleWindow<PreviewWindow>(QStringLiteral("PreviewWindow")), nullptr);
    EXPECT_TRUE(globals().S1.blank());  // no record step ran
    EXPECT_EQ(thread.dct.Relate.PRP.openCount(), 0);
    EXPECT_EQ(files::globalErrors().procedureName(), "UpdateRew");
}

// The progress window keeps its place under "pr_plat" and finds it there the next time.
TEST_F(PrPlatTest, TheProgressWindowKeepsItsPlaceUnderPrPlat) {
    ui::iniMgr().init(dir.ini());
    fillPrp(1);
    run();
    auto* progress = visibleWindow<ProgressWindow>(QStringLiteral("ProgressWindow"));
    ASSERT_NE(progress, nullptr);
    progress->move(progress->pos() + QPoint(40, 30));
    const QPoint placed = progress->pos();
    QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("?Progress:Cancel")),
                      Qt::LeftButton);
    ASSERT_FALSE(responses.empty());
    EXPECT_TRUE(ui::iniMgr().value("pr_plat", "XPos").has_value());
    EXPECT_TRUE(ui::iniMgr().value("pr_plat", "YPos").has_value());
    EXPECT_FALSE(ui::iniMgr().value("pr_plat", "Width").has_value());  // not resizable

    responses.clear();
    run();
    progress = visibleWindow<ProgressWindow>(QStringLiteral("ProgressWindow"));
    ASSERT_NE(progress, nullptr);
    // Dialog units round: within a unit of where it was left.
    EXPECT_NEAR(progress->pos().x(), placed.x(), 4);
    EXPECT_NEAR(progress->pos().y(), placed.y(), 4);
    QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("?Progress:Cancel")),
                      Qt::LeftButton);
    ui::iniMgr().close();
}

}  // namespace
}  // namespace pordex::print
