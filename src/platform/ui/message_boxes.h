#pragma once

#include <functional>

#include "platform/files/error_manager.h"

namespace pordex::ui {

// The error manager's messages as message boxes, opened without an event loop of their own:
// a notice is window-modal on the active window and the failed operation has already returned
// its failure when the box shows; a fatal message blocks every window and, once confirmed, ends
// the program cleanly through the end-program action.
class MessageBoxPresenter : public files::ErrorPresenter {
  public:
    void present(const files::ErrorReport& report) override;
};

// Plugs the message boxes into `errors` and makes a fatal message end the program when it is
// confirmed: `endProgram` closes the windows (and so the files) and leaves the event loop. The
// default ends every window procedure and quits the application with status 1.
void installMessageBoxes(files::ErrorManager& errors = files::globalErrors(),
                         std::function<void()> endProgram = {});

// True while a fatal message waits for its OK.
bool fatalPending();

}  // namespace pordex::ui
