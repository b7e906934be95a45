#pragma once

#include <memory>

#include <string_view>

#include "data/window_thread.h"
#include "platform/ui/update_form.h"

namespace pordex {

// Declared only: the checks' header must not follow Qt's headers (its `signals` namespace meets
// Qt's keyword macro), and windows that open this form include Qt first.
class DictionaryReferences;
class UpdateRewLogic;
struct CheckResult;

// The payment-order form: one REW record entered, changed or deleted, with the buttons of the
// daily work. The form's decisions are UpdateRewLogic's; this window shows them: the message
// line, the OK button, the signals and the focus after a check.
class UpdateRewWindow : public ui::UpdateForm {
    Q_OBJECT
  public:
    static ui::WindowDecl decl();

    UpdateRewWindow(WindowThread& thread, ui::WindowProcedure* caller);
    ~UpdateRewWindow() override;

    // Valid from the window's opening on.
    UpdateRewLogic& logic() { return *logic_; }

  protected:
    void init() override;
    void opened() override;
    void reset(bool force = false) override;
    void takeAccepted(int control) override;
    bool completion() override;
    void kill() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a run of the checks asks the window to show: the signal, the focus, the OK button.
    void showCheck(const CheckResult& result);
    void showState();
    void print();
    void startCalculator();

    std::unique_ptr<UpdateRewLogic> logic_;
    std::unique_ptr<DictionaryReferences> refs_;
    bool firstReset_ = true;
};

// Runs the payment-order form nested on `caller`'s thread with the request the caller left in
// the thread's GlobalRequest (insert, change or delete; for a change or deletion the order is the
// thread's current REW record, and the journal sets PRI_DEL for a deletion). Returns at once;
// `done` gets the response when the form has closed. The window is returned for tests.
UpdateRewWindow* UpdateRew(WindowThread& thread, ui::WindowProcedure* caller, ui::Done done = {});

// The message line's text when no calculator program can be started.
inline constexpr std::string_view kNoCalculator = "Калькулятор не найден !!!";

}  // namespace pordex
