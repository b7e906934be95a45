#pragma once

#include "platform/ui/window_procedure.h"

namespace pordex::app {

// The sign-on window `start`: asks for a user code and a password, which nothing checks, and
// starts the main menu. Three states: asking ("Готово???" shown), ready ("Запуск системы"
// shown) and hidden (after the start; the window and its thread live on to the program's end).
class SignOn : public ui::WindowProcedure {
    Q_OBJECT
  public:
    static constexpr int kMessage = 1, kCode = 3, kPassword = 5, kReady = 6, kStart = 7;

    SignOn(WindowThread& thread, ui::WindowProcedure* caller);

    static ui::WindowDecl declaration();

  protected:
    void init() override;
    void takeAccepted(int number) override;
};

}  // namespace pordex::app
