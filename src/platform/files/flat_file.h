#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/files/record_file.h"

namespace pordex::files {

// Files supplied from outside come as plain fixed-length records laid end to end (record
// length from the file description, numbers little-endian, texts Windows-1251), and go in and
// out of a record file byte for byte.
struct FlatResult {
    bool ok = false;
    std::size_t records = 0;  // records read or written
    std::string message;      // what went wrong (UTF-8), empty when ok
};

enum class FlatMode { Replace, Append };

// Loads every record of `flat` into `file` in one transaction: all or nothing. A flat file whose
// length is not a multiple of the record length changes nothing.
FlatResult importFlat(RecordFile& file, const std::filesystem::path& flat,
                      FlatMode mode = FlatMode::Replace);

// Writes every record of `file`, in file order, to `flat`.
FlatResult exportFlat(RecordFile& file, const std::filesystem::path& flat);

}  // namespace pordex::files
