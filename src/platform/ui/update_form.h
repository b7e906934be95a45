#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/record_slots.h"
#include "platform/ui/window_procedure.h"

namespace pordex::ui {

// An update form on a primary file: OK carries out the request (insert, change or delete) through
// the file manager; a refusal shows the file manager's message and the form stays open with what
// was entered. A change whose fields were not altered writes nothing. The form keeps a history
// copy of its record per thread, refreshed by every OK; the history key in a listed control puts
// that field's value from the copy back.
class UpdateForm : public WindowProcedure {
    Q_OBJECT
  public:
    UpdateForm(WindowThread& thread, WindowProcedure* caller, const WindowDecl& decl,
               std::string_view primaryLabel);

    std::string_view primaryLabel() const { return primary_; }

    // The controls the history key works in (by name). Without a call: every control that
    // shows a field of the primary file.
    void setHistoryControls(std::vector<std::string> names);
    bool hasHistory(int control) const;

    // Puts a control's field back from the thread's history copy and shows it.
    void restoreFromHistory(int control);

  protected:
    // Opens the primary file; a subclass opening more calls this first.
    void init() override;
    // Registers "?OK" and "?CANCEL" (when the form has them) as OK and cancel, primes the record
    // for an insert and keeps the record as it was for an unaltered change.
    void opened() override;
    // OK: takes the controls, runs completion(), refreshes the history copy and carries out the
    // request; the form ends completed only when the file took it.
    void takeCompleted() override;
    void kill() override;
    bool takeKey(int control, QKeyEvent* event) override;

    // The form's own step before the save (the buffer holds what was entered); false keeps the
    // form open without saving.
    virtual bool completion() { return true; }

    RecordSlot primary() const;

  private:
    bool save();

    std::string primary_;
    std::vector<std::string> historyNames_;
    bool historyListed_ = false;
    std::vector<std::byte> original_;
};

}  // namespace pordex::ui
