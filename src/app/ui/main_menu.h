#pragma once

#include <functional>

#include "platform/runtime/types.h"
#include "platform/ui/window_procedure.h"

namespace pordex::app {

// The main menu `sis`: today's date under "Текущая дата:", the journal of payment orders on a
// thread of its own, the payers and recipients lists nested on this window's thread.
class MainMenu : public ui::WindowProcedure {
    Q_OBJECT
  public:
    static constexpr int kJournal = 2, kPayers = 4, kRecipients = 5, kExit = 7, kDate = 9;

    MainMenu(WindowThread& thread, ui::WindowProcedure* caller);

    static ui::WindowDecl declaration();

    // The day the menu shows as today (tests replace the clock); empty restores it.
    static void setClock(std::function<LONG()> clock);

    void reset(bool force = false) override;

  protected:
    void opened() override;
    void takeAccepted(int control) override;
    void changeEvent(QEvent* event) override;
};

}  // namespace pordex::app
