#include <QPushButton>
#include <QTest>

#include "platform/system/beep.h"
#include "platform/system/program_start.h"
#include "platform/ui/message_boxes.h"
#include "ui/test_windows.h"
#include "ui/ui_fixture.h"

namespace pordex::test {
namespace {

class MessageBoxesTest : public UiTest {};

// A fatal message waits for its OK without blocking the caller, and only then ends the program:
// the end action runs once, after the box has gone, with the windows (and their files) closed.
TEST_F(MessageBoxesTest, AFatalMessageEndsTheProgramOnlyWhenConfirmed) {
    storeRecords<KbpRecord>({payer(1, "Один")});
    files::ErrorManager errors;
    int ended = 0;
    ui::installMessageBoxes(errors, [&] {
        ++ended;
        ui::WindowProcedure::closeAll();
    });
    auto t = std::make_unique<WindowThread>();
    auto* w = new PayerList(*t, nullptr);
    w->adoptThread(std::move(t));
    w->run();
    QPointer<PayerList> list(w);

    errors.report(files::ErrorKind::Fatal, "Ошибка доступа к файлу",
                  "Файл DATA/Kbp.dat не может быть открыт.  Ошибка: нет доступа.");
    EXPECT_EQ(ended, 0);  // the report returned; the program waits for the user
    EXPECT_TRUE(ui::fatalPending());
    const auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(boxes[0]->text(), QStringLiteral("Файл DATA/Kbp.dat не может быть открыт.  Ошибка: "
                                               "нет доступа.  Press OK to end this application"));
    ASSERT_EQ(boxes[0]->buttons().size(), 1);

    boxes[0]->button(QMessageBox::Ok)->click();
    flush();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(ui::fatalPending());
    EXPECT_TRUE(list.isNull());
    ui::installMessageBoxes();
}

TEST_F(MessageBoxesTest, ANoticeHasOneOkAndNamesTheProcedure) {
    files::ErrorManager errors;
    ui::installMessageBoxes(errors, [] {});
    errors.setProcedureName("kbp_form");
    errors.report(files::ErrorKind::Notice, "Запись не удаляется", "Возникла ошибка.");
    const auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->windowTitle(), QStringLiteral("Запись не удаляется"));
    EXPECT_EQ(boxes[0]->informativeText(), QStringLiteral("kbp_form"));
    EXPECT_EQ(boxes[0]->buttons().size(), 1);
    boxes[0]->button(QMessageBox::Ok)->click();
    flush();
    EXPECT_TRUE(messageBoxes().empty());
    ui::installMessageBoxes();
}

TEST(SystemLayer, BeepsAreRecordedAndSoundTheBell) {
    int bells = 0;
    sys::setBell([&] { ++bells; });
    sys::clearRecentBeeps();
    sys::beep(200, 30);
    sys::beep(300, 30);
    EXPECT_EQ(sys::recentBeeps(), (std::vector<sys::BeepCall>{{200, 30}, {300, 30}}));
    EXPECT_EQ(bells, 2);
    for (int i = 0; i < 300; ++i) sys::beep(i, 1);
    EXPECT_EQ(sys::recentBeeps().size(), 256u);
    EXPECT_EQ(sys::recentBeeps().back(), (sys::BeepCall{299, 1}));
    sys::setBell({});
}

TEST(SystemLayer, StartingAProgramDoesNotWaitAndMapsTheCalculator) {
    std::vector<std::string> started;
    sys::setProgramStarter([&](const std::string& cmd) {
        started.push_back(cmd);
        return true;
    });
    EXPECT_TRUE(sys::startProgram("xdg-open \"a b.txt\""));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], "xdg-open \"a b.txt\"");
    const std::string calc = sys::nativeCommandLine("calc.exe ");
    EXPECT_EQ(calc.find("calc.exe"), std::string::npos);
    EXPECT_FALSE(sys::startProgram(""));
    sys::setProgramStarter({});
}

}  // namespace
}  // namespace pordex::test
