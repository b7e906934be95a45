#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "pdf_text.h"
#include "platform/report/preview_window.h"
#include "window_wait.h"

namespace pordex::report {
namespace {

using test::visibleWindow;
using test::waitUntil;

const BandField kField[] = {{"X", {10, 10}, {"Courier", 10, false}}};
const BandText kText[] = {{"Стр.", {100, 10}, {"Courier", 10, false}}};
const ReportLayout kLayout{"test_report",
                           {"Arial", 10, false},
                           {61, 0, 518, 596},
                           {{1, 1, 518, 587}, {"Courier", 8, false}, kField, kText, {}}};

std::vector<PageValues> pages(int n) {
    std::vector<PageValues> v;
    for (int i = 1; i <= n; ++i) v.push_back({"page" + std::to_string(i)});
    return v;
}

const Captions kRussian = {
    {"&File", "Файл"},
    {"Exit", "Выход"},
    {"Preview", "Предварительный просмотр"},
    {"Print", "Печать"},
    {"Save\tCtrl+S", "Сохранить\tCtrl+S"},
    {"Page", "Страница"},
    {"Enter page number from 1 to", "Введите номер страницы от 1 до"},
    {"of", "из"},
    {"Zoom:", "Масштаб:"},
    {"Select destination folder", "Выберите папку для сохранения отчета"},
    {"Report succesfully saved at folder", "Отчет сохранен в директории"},
    {"Save report", "Сохранение"},
    {"Cancel", "Отмена"},
};

class PreviewTest : public ::testing::Test {
  protected:
    void SetUp() override { caller.show(); }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &caller && w->isVisible()) w->close();
        QTest::qWait(20);
    }

    PreviewWindow* open(int pageCount, PreviewWindow::Options options = {}) {
        if (options.captions.empty()) options.captions = kRussian;
        auto* w = new PreviewWindow(&caller, kLayout, pages(pageCount), std::move(options));
        w->start([this] { ++closed; });
        return w;
    }

    QWidget* pageView(PreviewWindow* w) {
        return w->findChild<QScrollArea*>(QStringLiteral("PreviewArea"))->widget();
    }
    QString pageLabel(PreviewWindow* w) {
        return w->findChild<QLabel*>(QStringLiteral("PageLabel"))->text();
    }
    QAction* action(PreviewWindow* w, const char* name) {
        return w->findChild<QAction*>(QString::fromLatin1(name));
    }

    QWidget caller;
    int closed = 0;
};

TEST_F(PreviewTest, OpensAtZoom100AndTheUserZooms) {
    PreviewWindow* w = open(1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::WindowModal);
    EXPECT_EQ(w->zoom(), 100);
    QWidget* view = pageView(w);
    const QSizeF paper = w->printer().pageLayout().fullRect(QPageLayout::Point).size();
    const double pxPerPt = view->logicalDpiX() / 72.0;
    EXPECT_NEAR(view->width(), paper.width() * pxPerPt, 1);
    EXPECT_NEAR(view->height(), paper.height() * pxPerPt, 1);

    auto* box = w->findChild<QSpinBox*>(QStringLiteral("ZoomBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->value(), 100);
    box->setValue(200);
    EXPECT_EQ(w->zoom(), 200);
    EXPECT_NEAR(view->width(), 2 * paper.width() * pxPerPt, 1);

    action(w, "ZoomNormalAction")->trigger();
    EXPECT_EQ(w->zoom(), 100);
    EXPECT_EQ(box->value(), 100);

    action(w, "ZoomWidthAction")->trigger();
    auto* area = w->findChild<QScrollArea*>(QStringLiteral("PreviewArea"));
    EXPECT_LE(view->width(), area->viewport()->width());
    EXPECT_GT(view->width(), area->viewport()->width() * 9 / 10);
}

TEST_F(PreviewTest, ZoomStaysAtItsSettingWhenTheUserMayNotZoom) {
    PreviewWindow::Options o;
    o.userZoom = false;
    PreviewWindow* w = open(1, o);
    EXPECT_FALSE(w->findChild<QSpinBox*>(QStringLiteral("ZoomBox"))->isEnabled());
    w->setZoom(300);
    EXPECT_EQ(w->zoom(), 100);
}

TEST_F(PreviewTest, MovesBetweenPages) {
    PreviewWindow* w = open(3);
    EXPECT_EQ(w->currentPage(), 0);
    EXPECT_EQ(pageLabel(w), QStringLiteral("Страница 1 из 3"));
    auto* first = w->findChild<QToolButton*>(QStringLiteral("FirstPage"));
    auto* prev = w->findChild<QToolButton*>(QStringLiteral("PreviousPage"));
    auto* next = w->findChild<QToolButton*>(QStringLiteral("NextPage"));
    auto* last = w->findChild<QToolButton*>(QStringLiteral("LastPage"));
    EXPECT_FALSE(prev->isEnabled());
    EXPECT_FALSE(first->isEnabled());
    EXPECT_TRUE(next->isEnabled());

    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(w->currentPage(), 1);
    EXPECT_EQ(pageLabel(w), QStringLiteral("Страница 2 из 3"));
    QTest::mouseClick(last, Qt::LeftButton);
    EXPECT_EQ(w->currentPage(), 2);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(last->isEnabled());
    QApplication::setActiveWindow(w);
    QTest::keyClick(w, Qt::Key_PageUp);
    EXPECT_EQ(w->currentPage(), 1);
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_EQ(w->currentPage(), 0);
    w->showPage(7);  // past the end: the last page
    EXPECT_EQ(w->currentPage(), 2);

    // "Страница" asks for a page number, window-modal, and goes there.
    action(w, "PageAction")->trigger();
    auto* ask = visibleWindow<QInputDialog>(QStringLiteral("PageNumberDialog"));
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask->windowModality(), Qt::WindowModal);
    EXPECT_EQ(ask->labelText(), QStringLiteral("Введите номер страницы от 1 до 3"));
    EXPECT_EQ(ask->intMaximum(), 3);
    ask->setIntValue(2);
    ask->accept();
    EXPECT_EQ(w->currentPage(), 1);
}

TEST_F(PreviewTest, SavesThePagesAsPdfInTheChosenFolder) {
    QTemporaryDir dir;
    PreviewWindow* w = open(2);
    action(w, "SaveAction")->trigger();
    auto* dialog = visibleWindow<QFileDialog>(QStringLiteral("SaveFolderDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Выберите папку для сохранения отчета"));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    dialog->setDirectory(dir.path());
    dialog->selectFile(dir.path());
    static_cast<QDialog*>(dialog)->accept();

    auto* message = visibleWindow<QMessageBox>(QStringLiteral("PreviewMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->windowTitle(), QStringLiteral("Сохранение"));
    EXPECT_EQ(message->text(), QStringLiteral("Отчет сохранен в директории ") +
                                   QDir::toNativeSeparators(dir.path()));
    message->accept();

    const auto saved = test::readPdfWords(dir.filePath(QStringLiteral("test_report.pdf")));
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_TRUE(test::pageText(saved[0]).contains(QStringLiteral("page1")));
    EXPECT_TRUE(test::pageText(saved[1]).contains(QStringLiteral("page2")));
    EXPECT_TRUE(w->isVisible());  // saving does not end the preview
    EXPECT_EQ(closed, 0);
}

TEST_F(PreviewTest, AFolderThatCannotBeWrittenIsReportedAndNothingIsClaimed) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no/such/folder"));
    PreviewWindow* w = open(1);
    EXPECT_FALSE(w->saveTo(missing));
    auto* message = visibleWindow<QMessageBox>(QStringLiteral("PreviewMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->icon(), QMessageBox::Warning);
    EXPECT_FALSE(message->text().contains(QStringLiteral("Отчет сохранен")));
    EXPECT_TRUE(message->text().contains(QDir::toNativeSeparators(missing)));
    message->accept();
}

TEST_F(PreviewTest, PrintsThroughThePrinterDialogAndCloses) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("printed.pdf"));
    PreviewWindow* w = open(3);
    w->printer().setOutputFormat(QPrinter::PdfFormat);
    w->printer().setOutputFileName(out);
    w->showPage(1);
    action(w, "PrintCurrentAction")->trigger();
    auto* dialog = visibleWindow<QPrintDialog>(QStringLiteral("PrintDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Печать"));
    EXPECT_EQ(dialog->printRange(), QAbstractPrintDialog::CurrentPage);
    // Qt's own dialog speaks Russian.
    QStringList buttons;
    for (auto* b : dialog->findChildren<QPushButton*>()) buttons << b->text().remove(u'&');
    EXPECT_TRUE(buttons.contains(QStringLiteral("Печать"))) << buttons.join(u',').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("Отмена"))) << buttons.join(u',').toStdString();
    // The machine has no printer: the user prints to a file.
    auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_NE(file, nullptr);
    file->setText(out);
    dialog->accept();

    const auto printed = test::readPdfWords(out);
    ASSERT_EQ(printed.size(), 1u);
    ASSERT_FALSE(printed[0].empty());
    // Measured from the paper's corner, as on the saved PDF: band at 62, 1; field at 10, 10.
    EXPECT_EQ(printed[0][0].text, QStringLiteral("page2"));
    EXPECT_NEAR(printed[0][0].xMin, 72, 0.5);
    EXPECT_NEAR(printed[0][0].yMin, 11, 0.5);
    ASSERT_TRUE(waitUntil([&] { return closed == 1; }));
}

TEST_F(PreviewTest, LeavingWithoutPrintingPrintsNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("printed.pdf"));
    PreviewWindow* w = open(1);
    w->printer().setOutputFormat(QPrinter::PdfFormat);
    w->printer().setOutputFileName(out);
    action(w, "ExitButton")->trigger();
    ASSERT_TRUE(waitUntil([&] { return closed == 1; }));
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(PreviewTest, CaptionsComeFromTheTable) {
    PreviewWindow* w = open(1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Предварительный просмотр"));
    auto* bar = w->findChild<QMenuBar*>(QStringLiteral("PreviewMenu"));
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    EXPECT_TRUE(titles.contains(QStringLiteral("Файл")));
    EXPECT_TRUE(titles.contains(QStringLiteral("Страница")));
    // A caption missing from the table shows in English.
    EXPECT_EQ(action(w, "PrintCurrentAction")->text(), QStringLiteral("Print current page"));
    EXPECT_EQ(action(w, "SaveAction")->text(), QStringLiteral("Сохранить\tCtrl+S"));
    EXPECT_EQ(action(w, "SaveAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

}  // namespace
}  // namespace pordex::report
