#include "app/ui/sign_on.h"

#include <vector>

#include "app/shell_variables.h"
#include "app/ui/main_menu.h"
#include "app/ui/window_starts.h"
#include "data/globals.h"

namespace pordex::app {
namespace {

using ui::ControlDecl;
using ui::ControlKind;

const std::vector<ControlDecl>& declaredControls() {
    static const std::vector<ControlDecl> c = {
        {.kind = ControlKind::String,
         .name = "?MESSAGE",
         .x = 3,
         .y = 2,
         .w = 110,
         .h = 7,
         .use = "MESSAGE",
         .picture = "s30",
         .color = ui::Color::Red},
        {.kind = ControlKind::Prompt, .text = "Введите: Код пользователя:", .x = 2, .y = 11},
        {.kind = ControlKind::Entry,
         .name = "?KOD",
         .x = 99,
         .y = 11,
         .w = 11,
         .h = 8,
         .use = "KOD",
         .picture = "n2"},
        {.kind = ControlKind::Prompt, .text = "Пароль:", .x = 31, .y = 20},
        {.kind = ControlKind::Entry,
         .name = "?PAROL",
         .x = 66,
         .y = 21,
         .h = 8,
         .use = "PAROL",
         .picture = "s10",
         .password = true},
        {.kind = ControlKind::Button,
         .name = "?BUTTON6",
         .text = "Готово???",
         .x = 26,
         .y = 33,
         .w = 70,
         .h = 11},
        {.kind = ControlKind::Button,
         .name = "?BUTTON7",
         .text = "Запуск системы",
         .x = 8,
         .y = 45,
         .w = 98,
         .h = 14,
         .color = ui::Color::Purple,
         .hidden = true},
    };
    return c;
}

}  // namespace

ui::WindowDecl SignOn::declaration() {
    return {.procedure = "start",
            .title = "Ввод кода пользователя и пароля ",
            .x = 65,
            .y = 50,
            .w = 116,
            .h = 62,
            .icon = ":/icons/tiv5.png",
            .controls = declaredControls()};
}

SignOn::SignOn(WindowThread& thread, ui::WindowProcedure* caller)
    : WindowProcedure(thread, caller, declaration()) {
    bindVariable("MESSAGE", ui::FieldRef::of(shellVariables().MESSAGE));
    bindVariable("KOD", ui::FieldRef::of(globals().KOD));
    bindVariable("PAROL", ui::FieldRef::of(globals().PAROL));
}

void SignOn::init() {
    // Every sign-on starts from nothing (the code and password are shared by all of them).
    shellVariables().MESSAGE.clear();
    globals().PAROL.clear();
    globals().KOD = 0;
}

void SignOn::takeAccepted(int number) {
    if (number == kReady) {
        // No code or password is compared with anything: every input leads on.
        shellVariables().MESSAGE.clear();
        control(kStart)->show();
        control(kReady)->hide();
    }
    WindowProcedure::takeAccepted(number);
    if (number == kStart) {
        updateVariables();
        startOnNewThread<MainMenu>();
        reset();
        // Hidden, not closed: the window and its thread stay until the program ends.
        hide();
    }
}

}  // namespace pordex::app
