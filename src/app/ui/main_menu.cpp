#include "app/ui/main_menu.h"

#include <QAction>
#include <QEvent>
#include <vector>

#include "app/shell_variables.h"
#include "app/ui/window_starts.h"
#include "platform/runtime/date.h"

namespace pordex::app {
namespace {

using ui::ControlDecl;
using ui::ControlKind;

const std::vector<ControlDecl>& declaredControls() {
    static const std::vector<ControlDecl> c = {
        {.kind = ControlKind::Menu, .name = "?Menu1", .text = "&Подготовка документов"},
        {.kind = ControlKind::Item, .name = "?Item2", .text = "Подготовка платежных поручений"},
        {.kind = ControlKind::Menu, .name = "?Menu3", .text = "Настройка"},
        {.kind = ControlKind::Item, .name = "?Item4", .text = "Реквизиты плательщиков"},
        {.kind = ControlKind::Item, .name = "?Item5", .text = "Реквизиты получателей"},
        {.kind = ControlKind::Menu, .name = "?Menu6", .text = "Выход"},
        {.kind = ControlKind::Item, .name = "?Item7", .text = "Закончить работу???"},
        {.kind = ControlKind::Prompt, .text = "Текущая дата:", .x = 158, .y = 3},
        {.kind = ControlKind::String,
         .name = "?DATE1",
         .x = 210,
         .y = 4,
         .use = "DATE1",
         .picture = "d6"},
    };
    return c;
}

std::function<LONG()>& clock() {
    static std::function<LONG()> c;
    return c;
}

}  // namespace

ui::WindowDecl MainMenu::declaration() {
    return {.procedure = "sis",
            .title = "Подготовка платежных поручений",
            .x = 0,
            .y = 0,
            .w = 260,
            .h = 146,
            .icon = ":/icons/tiv5.png",
            .wallpaper = ":/images/tivplat.png",
            .controls = declaredControls()};
}

void MainMenu::setClock(std::function<LONG()> c) {
    clock() = std::move(c);
}

MainMenu::MainMenu(WindowThread& thread, ui::WindowProcedure* caller)
    : WindowProcedure(thread, caller, declaration()) {
    bindVariable("DATE1", ui::FieldRef::of(shellVariables().DATE1));
}

void MainMenu::opened() {
    // Items whose window is not part of the program yet lead nowhere.
    const ProgramWindows& w = programWindows();
    menuItem(kJournal)->setEnabled(static_cast<bool>(w.journal));
    menuItem(kPayers)->setEnabled(static_cast<bool>(w.payers));
    menuItem(kRecipients)->setEnabled(static_cast<bool>(w.recipients));
}

void MainMenu::reset(bool force) {
    if (!acceptingAll()) shellVariables().DATE1 = clock() ? clock()() : today();
    WindowProcedure::reset(force);
}

void MainMenu::changeEvent(QEvent* event) {
    WindowProcedure::changeEvent(event);
    // Coming back to the menu refreshes it, so the date is right after midnight.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isOpened() && !isClosing())
        reset();
}

void MainMenu::takeAccepted(int control) {
    WindowProcedure::takeAccepted(control);
    updateVariables();
    const ProgramWindows& w = programWindows();
    switch (control) {
        case kJournal:
            if (w.journal) w.journal();
            reset();
            break;
        case kPayers:
        case kRecipients: {
            const auto& make = control == kPayers ? w.payers : w.recipients;
            if (!make) break;
            // The menu waits, window-modal, until the list is closed.
            runNested(make(*this), 0, [this](BYTE) { reset(); });
            break;
        }
        case kExit:
            closeWith(RequestCancelled);
            break;
        default:
            break;
    }
}

}  // namespace pordex::app
