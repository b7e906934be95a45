#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace pordex::files {

// A notice has one OK button and the failed operation reports failure to its caller; a fatal
// message ends the program once the user has confirmed it.
enum class ErrorKind { Notice, Fatal };

// One message as the user is to see it. Texts are UTF-8.
struct ErrorReport {
    ErrorKind kind = ErrorKind::Notice;
    std::string title;
    std::string text;       // for a fatal message, with "  Press OK to end this application"
    std::string procedure;  // the procedure registered when the error happened ("rew_tab")
};

// The error state of one window thread: the last message reported for it.
struct ErrorStatus {
    ErrorReport last;
    int reports = 0;  // messages reported on this thread so far
};

// Shows a message and returns when the user has confirmed it. The window framework plugs in
// message boxes; the default writes to stderr.
class ErrorPresenter {
  public:
    virtual ~ErrorPresenter() = default;
    virtual void present(const ErrorReport& report) = 0;
};

// The process-wide error manager (the system's `GlobalErrors`): every file manager and window
// reports through it. Safe to call from any thread; reports are shown one at a time.
class ErrorManager {
  public:
    ErrorManager();
    ErrorManager(const ErrorManager&) = delete;
    ErrorManager& operator=(const ErrorManager&) = delete;

    // Every window names its procedure on opening and clears it on closing.
    void setProcedureName(std::string_view name);
    void setProcedureName();
    std::string procedureName() const;

    // Shows the message through the presenter, records it in `status` when given, and after a
    // fatal message calls the end-program hook. Returns when the user has confirmed it.
    void report(ErrorKind kind, std::string_view title, std::string_view text,
                ErrorStatus* status = nullptr);

    // Plugs in a presenter; nullptr restores the default. Returns the one it replaces.
    std::shared_ptr<ErrorPresenter> setPresenter(std::shared_ptr<ErrorPresenter> presenter);

    // Called after a fatal message has been confirmed: the program closes its files and quits.
    // An empty hook restores the default, which ends the process with exit status 1.
    using EndProgram = std::function<void()>;
    EndProgram setEndProgram(EndProgram hook);

  private:
    mutable std::mutex mutex_;        // guards the members below
    std::recursive_mutex reporting_;  // one message at a time, re-entrant on one thread
    std::string procedure_;
    std::shared_ptr<ErrorPresenter> presenter_;
    EndProgram endProgram_;
};

// The one instance of the process.
ErrorManager& globalErrors();

// Appended to the text of every fatal message.
inline constexpr std::string_view kFatalSuffix = "  Press OK to end this application";

}  // namespace pordex::files
