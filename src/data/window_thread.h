#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "data/dictionary.h"
#include "platform/files/error_manager.h"
#include "platform/runtime/types.h"

namespace pordex {

// The context of one independent window (sign-on, main menu, each journal): what the system
// keeps per thread. It is handed to every window that runs nested on it. Members are declared in
// the order of the thread-start steps and torn down in reverse: the dictionary (DctKill) first,
// then the error status.
class WindowThread {
  public:
    // The main thread's data store is built by the program entry (its dictionary's DctInit),
    // not by the constructor; every other thread's store is built here.
    enum class Kind { Main, Window };

    explicit WindowThread(Kind kind = Kind::Window,
                          files::ErrorManager& errors = files::globalErrors());
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    bool isMain() const { return kind_ == Kind::Main; }

    // Framework requests and responses handed between the windows of this thread.
    static constexpr BYTE InsertRecord = 1, ChangeRecord = 2, DeleteRecord = 3, SelectRecord = 4,
                          ViewRecord = 6;
    static constexpr BYTE RequestCompleted = 1, RequestCancelled = 2;

    files::ErrorStatus GlobalErrorStatus;
    BYTE GlobalRequest = 0;
    BYTE GlobalResponse = 0;
    LONG VCRRequest = 0;
    Dictionary dct;
    // The update forms' history copies (the field-history key), one record per file label;
    // refreshed by each OK of a form on this thread.
    std::map<std::string, std::vector<std::byte>, std::less<>> history;

  private:
    Kind kind_;
};

}  // namespace pordex
