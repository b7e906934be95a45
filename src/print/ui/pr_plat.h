#pragma once

#include <functional>

#include "data/window_thread.h"
#include "platform/report/window_support.h"

class QWidget;

namespace pordex::print {

// The printed payment order: one page of bank form 0401060 for each record of PRP, filled from
// the print snapshot, prepared under the progress window "Подготовка ....." and shown in the
// preview, from which the user prints or leaves. Runs on the caller's thread, window-modal on
// `caller`, and returns at once; when it has ended the thread's GlobalResponse holds its
// response (completed, or cancelled by "Cancel") and `done` gets the same.
void PR_PLAT(WindowThread& thread, QWidget* caller, std::function<void(BYTE)> done = {});

// The preview's captions in Russian: English caption -> caption shown.
const report::Captions& prPlatCaptions();

// Where the windows of PR_PLAT keep their place: the progress window under "pr_plat", the
// preview under "pr_plat_preview", in the program's settings store.
report::WindowPlacement prPlatPlacement(bool preview);

}  // namespace pordex::print
