#include "platform/files/error_manager.h"

#include <cstdio>
#include <cstdlib>

namespace pordex::files {
namespace {

class StderrPresenter : public ErrorPresenter {
  public:
    void present(const ErrorReport& r) override {
        std::fprintf(stderr, "pordex: %s%s%s: %s\n", r.procedure.c_str(),
                     r.procedure.empty() ? "" : ": ", r.title.c_str(), r.text.c_str());
    }
};

void exitProgram() {
    std::exit(EXIT_FAILURE);
}

}  // namespace

ErrorManager::ErrorManager()
    : presenter_(std::make_shared<StderrPresenter>()), endProgram_(exitProgram) {}

void ErrorManager::setProcedureName(std::string_view name) {
    std::lock_guard lock(mutex_);
    procedure_ = name;
}

void ErrorManager::setProcedureName() {
    std::lock_guard lock(mutex_);
    procedure_.clear();
}

std::string ErrorManager::procedureName() const {
    std::lock_guard lock(mutex_);
    return procedure_;
}

void ErrorManager::report(ErrorKind kind, std::string_view title, std::string_view text,
                          ErrorStatus* status) {
    // The presenter may run a message box; the state lock is not held meanwhile, so a report
    // made while a message is up (or from the presenter itself) cannot deadlock.
    std::lock_guard serial(reporting_);
    ErrorReport r;
    r.kind = kind;
    r.title = title;
    r.text = text;
    if (kind == ErrorKind::Fatal) r.text += kFatalSuffix;
    std::shared_ptr<ErrorPresenter> presenter;
    EndProgram end;
    {
        std::lock_guard lock(mutex_);
        r.procedure = procedure_;
        presenter = presenter_;
        end = endProgram_;
    }
    if (status) {
        status->last = r;
        ++status->reports;
    }
    presenter->present(r);
    if (kind == ErrorKind::Fatal) end();
}

std::shared_ptr<ErrorPresenter> ErrorManager::setPresenter(
    std::shared_ptr<ErrorPresenter> presenter) {
    if (!presenter) presenter = std::make_shared<StderrPresenter>();
    std::lock_guard lock(mutex_);
    std::swap(presenter, presenter_);
    return presenter;
}

ErrorManager::EndProgram ErrorManager::setEndProgram(EndProgram hook) {
    if (!hook) hook = exitProgram;
    std::lock_guard lock(mutex_);
    std::swap(hook, endProgram_);
    return hook;
}

ErrorManager& globalErrors() {
    static ErrorManager instance;
    return instance;
}

}  // namespace pordex::files
