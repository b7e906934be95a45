#pragma once

#include <functional>
#include <vector>

#include "platform/report/band.h"

namespace pordex::report {

// The records a report runs over, read one at a time into the caller's record buffer.
class RecordSource {
  public:
    virtual ~RecordSource() = default;
    // How many records there are, for the progress shown while the report runs.
    virtual long records() = 0;
    // Reads the next record; false at the end (or when the file cannot be read: the file
    // layer has reported it).
    virtual bool next() = 0;
};

// How a report run ended, as the window framework's responses.
enum class Response { Completed = 1, Cancelled = 2 };

// A report run as a process over its records: each record read calls the record step, which
// gives the values of that record's page. Driven by the progress window, one record at a time.
class ReportRun {
  public:
    using RecordStep = std::function<PageValues()>;

    ReportRun(RecordSource& source, RecordStep step);

    // Reads and prints the next record; false when there was none left.
    bool step();
    bool finished() const { return finished_; }
    // 0 to 100: the share of the records processed so far.
    int percent() const;

    const std::vector<PageValues>& pages() const { return pages_; }
    std::vector<PageValues> takePages() { return std::move(pages_); }

  private:
    RecordSource& source_;
    RecordStep recordStep_;
    long total_ = -1;
    long done_ = 0;
    bool finished_ = false;
    std::vector<PageValues> pages_;
};

}  // namespace pordex::report
