#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/files/error_manager.h"
#include "platform/files/layout.h"

namespace pordex::files {

// A record's place in file order. It stays the same for the life of the record.
using RowId = std::int64_t;

// One record as read: its place and its exact bytes (FileDesc::recordSize of them).
struct Row {
    RowId id = 0;
    std::vector<std::byte> bytes;
};

// The order a read follows: one of the file's keys, or the file order (the order in which the
// records were added). A key orders by its field, then by its tie field when it declares one,
// then by file order. Records outside an OPT key are not in that key's order.
struct Order {
    int key = -1;  // index into FileDesc::keys; -1 = file order

    static Order file() { return Order{-1}; }
    static Order byKey(int k) { return Order{k}; }
};

enum class Direction { Forward, Backward };

// Decides inside a read whether a record is taken; gets the record's bytes.
using RecordFilter = std::function<bool(const std::byte* record)>;

// A place between two records of an order. Reading forward from it gives the records after it,
// reading backward gives the records before it, nearest first. A position holds a copy of the
// record it was taken from, so it stays valid when that record is changed or deleted.
class Position {
  public:
    // Before the first record of the order.
    static Position first();
    // After the last record of the order.
    static Position last();
    // Before the first record whose key value is at or after the key value that `record` holds
    // (a list's locator). In file order: the same as first().
    static Position atKey(std::span<const std::byte> record);
    // Just before / just after the record `id` whose bytes are `record`.
    static Position before(RowId id, std::span<const std::byte> record);
    static Position after(RowId id, std::span<const std::byte> record);

    enum class Kind { First, Last, AtKey, Before, After };
    Kind kind() const { return kind_; }
    RowId id() const { return id_; }
    const std::vector<std::byte>& record() const { return record_; }

  private:
    Kind kind_ = Kind::First;
    RowId id_ = 0;
    std::vector<std::byte> record_;
};

class TextFilter;

// What went wrong in the last operation of a file.
enum class ErrorCode {
    None,
    NotFound,   // no such record (a fetch that finds nothing; not reported)
    Duplicate,  // a unique key would hold the value twice
    Locked,     // another connection held the file longer than the lock-recovery time
    ReadOnly,   // the file is open for reading only
    BadValue,   // a field value the file cannot hold (a REAL that is not a number)
    NotOpen,    // the file is not open
    Failed,     // any other failure of the store
};

enum class Status { Ok, NotFound, Failed };

// One data file: fixed-layout records with keys, kept in an SQLite database at the file's path
// (relative to the working folder). Every failure is reported through the error manager with
// the system's own messages. One instance belongs to one thread at a time; several instances,
// in this process or in others, may share one file.
class RecordFile {
  public:
    // Waiting time for a lock held by another connection before it counts as failure.
    static constexpr int kLockRecoverySeconds = 10;

    explicit RecordFile(const FileDesc& desc, ErrorManager& errors = globalErrors(),
                        ErrorStatus* status = nullptr);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    const FileDesc& desc() const { return desc_; }

    // Opens the file shared for reading and writing: creates it (and its folder) when missing,
    // waits out a lock, rebuilds keys that do not fit the declared ones, falls back to
    // read-only when writing is denied. Returns false after reporting a failure (the fatal ones
    // end the program through the error manager's hook).
    bool open();
    void close();
    bool isOpen() const;
    bool readOnly() const;

    // Changes. Each is one transaction; false after the message has been shown.
    bool insert(const void* record, RowId* id = nullptr);
    // Adds `count` records laid end to end, all in one transaction: all or none. On failure
    // `failedAt` gets the number of the record that was refused (from 0).
    bool insertAll(const void* records, std::size_t count, std::size_t* failedAt = nullptr,
                   RowId* lastId = nullptr);
    // Replaces the whole content by `count` records in one transaction.
    bool replaceAll(const void* records, std::size_t count, std::size_t* failedAt = nullptr);
    bool update(RowId id, const void* record);
    bool remove(RowId id);

    // The first record, in key order, whose key value equals the one `keyRecord` holds. Outside
    // an OPT key (zero or blank value) nothing is found. A miss is not reported.
    Status fetch(int key, const void* keyRecord, void* out, RowId* id = nullptr);
    // The record at `id`.
    Status get(RowId id, void* out);
    // Number of records in the file (also those outside OPT keys); -1 after a reported failure.
    std::int64_t count();

    // Appends to `out` up to `n` records read from `from` in `direction` (backward: nearest
    // first), taking only those `filter` accepts. Each call seeks through the key's index, so
    // its cost does not grow with the size of the file. A filter holding a TextFilter (of this
    // file) is run by the store inside its query (text_filter.h). False after a reported
    // failure.
    bool read(const Order& order, const Position& from, Direction direction, std::size_t n,
              std::vector<Row>& out, const RecordFilter& filter = {});

    ErrorCode lastError() const { return lastError_; }
    // The store's description of the last failure (the messages' %ErrorText).
    const std::string& lastErrorText() const { return lastErrorText_; }

    // The file name the messages show.
    std::string displayName() const;

    struct Impl;  // the connection and its statements

  private:
    bool readText(const Order& order, const Position& from, Direction direction, std::size_t n,
                  std::vector<Row>& out, const TextFilter& filter);
    bool writeRecords(const void* records, std::size_t count, bool replace, std::size_t* failedAt,
                      RowId* lastId);
    void readFailed(int rc, std::string text = {});

    const FileDesc& desc_;
    ErrorManager& errors_;
    ErrorStatus* status_;
    std::unique_ptr<Impl> impl_;
    ErrorCode lastError_ = ErrorCode::None;
    std::string lastErrorText_;
};

}  // namespace pordex::files
