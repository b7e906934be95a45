#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "data/window_thread.h"
#include "platform/ui/window_procedure.h"

namespace pordex::app {

// Starts an independent window on a thread of its own: the thread's data store is built here
// and torn down when the window has gone.
template <class W, class... Args>
W* startOnNewThread(Args&&... args) {
    auto thread = std::make_unique<WindowThread>();
    W* w = new W(*thread, nullptr, std::forward<Args>(args)...);
    w->adoptThread(std::move(thread));
    w->run();
    return w;
}

// The windows the main menu leads to, registered by their subsystems:
//   programWindows().journal = [] { app::startOnNewThread<RewTab>(); };
// A menu item whose window is not registered stays disabled.
struct ProgramWindows {
    // Started on a new thread.
    std::function<void()> journal;
    // Run nested on the main menu's thread, window-modal on it.
    std::function<ui::WindowProcedure*(ui::WindowProcedure& caller)> payers;
    std::function<ui::WindowProcedure*(ui::WindowProcedure& caller)> recipients;
};

ProgramWindows& programWindows();

}  // namespace pordex::app
