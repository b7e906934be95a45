#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/files/error_manager.h"

namespace pordex::test {

// Plugs into the process's error manager for its lifetime: records every message instead of
// showing it, and records the end-program hook instead of ending the process.
class ErrorRecorder {
  public:
    ErrorRecorder() : presenter_(std::make_shared<Presenter>()) {
        previousPresenter_ = files::globalErrors().setPresenter(presenter_);
        previousEnd_ = files::globalErrors().setEndProgram([this] { ++ends_; });
    }
    ~ErrorRecorder() {
        files::globalErrors().setPresenter(previousPresenter_);
        files::globalErrors().setEndProgram(previousEnd_);
    }
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    std::vector<files::ErrorReport> reports() const {
        std::lock_guard lock(presenter_->mutex);
        return presenter_->reports;
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> t;
        for (const auto& r : reports()) t.push_back(r.title);
        return t;
    }
    void clear() {
        std::lock_guard lock(presenter_->mutex);
        presenter_->reports.clear();
        ends_ = 0;
    }
    int ends() const { return ends_; }

  private:
    struct Presenter : files::ErrorPresenter {
        mutable std::mutex mutex;
        std::vector<files::ErrorReport> reports;
        void present(const files::ErrorReport& r) override {
            std::lock_guard lock(mutex);
            reports.push_back(r);
        }
    };
    std::shared_ptr<Presenter> presenter_;
    std::shared_ptr<files::ErrorPresenter> previousPresenter_;
    files::ErrorManager::EndProgram previousEnd_;
    std::atomic<int> ends_{0};
};

}  // namespace pordex::test
