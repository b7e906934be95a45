#pragma once

#include "data/window_thread.h"
#include "platform/runtime/types.h"
#include "platform/ui/browse_list.h"
#include "platform/ui/window_procedure.h"

namespace pordex {

// The journal of payment orders `REW_TAB`: every order of REW, newest first, narrowed by the four
// process-wide search texts; the highlighted order's names and purpose in the panel below; the
// payment-order form opened nested to add, change or delete an order. The journal never writes
// REW itself. What it decides is in orders/journal_*.h; this window shows it.
class RewTab : public ui::WindowProcedure {
    Q_OBJECT
  public:
    static ui::WindowDecl decl();

    RewTab(WindowThread& thread, ui::WindowProcedure* caller);

    ui::BrowseList* list() const;
    // The date shown as "Текущая дата:".
    LONG tData() const { return T_DATA_; }

    void reset(bool force = false) override;

  protected:
    void init() override;
    void opened() override;
    void takeAccepted(int control) override;
    void kill() override;

  private:
    // The list's record test follows the search texts as they now stand.
    void takeSearch();
    // The journal's own part of a reset: the date and the delete flag.
    void resetSteps();

    LONG T_DATA_ = 0;
    bool filesOpen_ = false;
};

// Starts the journal on a window thread of its own (the main menu's "Подготовка платежных
// поручений"); several may be open at once. Returns at once with the window, for tests.
RewTab* REW_TAB();

}  // namespace pordex
