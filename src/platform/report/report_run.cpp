#include "platform/report/report_run.h"

#include <algorithm>

namespace pordex::report {

ReportRun::ReportRun(RecordSource& source, RecordStep step)
    : source_(source), recordStep_(std::move(step)) {}

bool ReportRun::step() {
    if (finished_) return false;
    if (total_ < 0) total_ = std::max(0L, source_.records());
    if (!source_.next()) {
        finished_ = true;
        return false;
    }
    ++done_;
    pages_.push_back(recordStep_());
    return true;
}

int ReportRun::percent() const {
    if (finished_) return 100;
    if (total_ <= 0) return 0;
    return static_cast<int>(std::min(100L, done_ * 100 / total_));
}

}  // namespace pordex::report
