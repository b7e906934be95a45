#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "data/records.h"
#include "platform/files/error_manager.h"
#include "platform/files/layout.h"
#include "platform/files/record_file.h"
#include "platform/runtime/types.h"

namespace pordex {

// Keys by the system's names: `REW:KEY_4` is REW_KEY_4, an index into the file's keys.
inline constexpr int FILE_ORDER = -1;
inline constexpr int REW_KEY_4 = 0;
inline constexpr int BIK_KEY_1 = 0;
inline constexpr int BIK_KEY_2 = 1;
inline constexpr int MCO_KEY_1 = 0;
inline constexpr int KSZ_KEY_1 = 0;
inline constexpr int BL2_KEY_1 = 0;
inline constexpr int KNN_KEY_1 = 0;
inline constexpr int KBP_KEY_1 = 0;
inline constexpr int POL_KEY_1 = 0;

// The file manager of one file on one thread (the system's `Access:REW`): it knows the file, the
// thread's record buffer and the keys, opens the file at its first use and reports every failure
// through the error manager. Every operation works on the thread's record buffer.
//
// Files are opened lazily and counted: the relation manager's open() only registers a holder;
// the file is really opened at the first operation and closed when the last holder closes.
class FileManagerBase {
  public:
    FileManagerBase();
    ~FileManagerBase();
    FileManagerBase(const FileManagerBase&) = delete;
    FileManagerBase& operator=(const FileManagerBase&) = delete;

    // Set-up by the dictionary; before init and after kill every operation fails quietly.
    void init(const files::FileDesc& desc, std::byte* buffer, files::ErrorManager& errors,
              files::ErrorStatus* status);
    void kill();
    bool initialised() const { return desc_ != nullptr; }

    const files::FileDesc& desc() const { return *desc_; }

    // Counted opens, through the relation manager.
    void registerOpen();
    void releaseOpen();
    int openCount() const { return holders_; }
    // The file is really open (its first use has happened and no close has undone it).
    bool reallyOpen() const;

    // Completes the deferred open; false after a reported failure.
    bool use();
    // The record file, opened; nullptr after a reported failure or before init.
    files::RecordFile* file();

    // Reads the first record, in the order of `key`, whose key value equals the one in the
    // buffer. False when there is none (buffer unchanged, nothing shown) or after a reported
    // failure; lastStatus() tells which.
    bool fetch(int key);
    // Reads the record at `id` into the buffer.
    bool reget(files::RowId id);

    // The buffer as a new record; it becomes the current record. False after the message.
    bool insert();
    // The buffer replaces the current record (the one last read, fetched or inserted).
    bool update();
    // Deletes the current record.
    bool deleteRecord();

    // Number of records in the file; 0 after a reported failure.
    LONG count();

    // Sequential reading. set() starts at the beginning of the order (key index or FILE_ORDER):
    // next() then reads the first record, previous() the last. setAt() starts at the first
    // record whose key value is at or after the one in the buffer.
    void set(int key = FILE_ORDER);
    void setAt(int key);
    // Reads the following / preceding record into the buffer; false at the end of the order
    // (nothing shown) or after a reported failure.
    bool next();
    bool previous();

    // Pages for a list: up to `n` rows from `from` in `direction`, with the filter applied.
    bool readPage(const files::Order& order, const files::Position& from,
                  files::Direction direction, std::size_t n, std::vector<files::Row>& out);

    // Copies a row read by readPage into the buffer and makes it the current record.
    void load(const files::Row& row);

    // The current record's place, if there is one.
    bool hasCurrent() const { return hasCurrent_; }
    files::RowId current() const { return current_; }

    files::Status lastStatus() const { return lastStatus_; }

  protected:
    // Clears the buffer (texts blank, numbers 0) unless `keep`.
    void primeBuffer(bool keep, const void* cleared);
    void setFilterBytes(files::RecordFilter filter) { filter_ = std::move(filter); }

  private:
    bool step(files::Direction direction);

    const files::FileDesc* desc_ = nullptr;
    std::byte* buffer_ = nullptr;
    files::ErrorManager* errors_ = nullptr;
    files::ErrorStatus* status_ = nullptr;
    std::unique_ptr<files::RecordFile> file_;
    int holders_ = 0;
    bool hasCurrent_ = false;
    files::RowId current_ = 0;
    files::Status lastStatus_ = files::Status::Ok;
    files::Order order_;
    files::Position position_;
    bool freshSet_ = true;  // right after set(): previous() reads from the end
    files::RecordFilter filter_;
};

// Typed on the file's record: `dct.Access.REW.record().N_SC_A`.
template <class R>
class FileManager : public FileManagerBase {
  public:
    R& record() { return *rec_; }
    const R& record() const { return *rec_; }

    void init(const files::FileDesc& desc, R& buffer, files::ErrorManager& errors,
              files::ErrorStatus* status) {
        rec_ = &buffer;
        FileManagerBase::init(desc, reinterpret_cast<std::byte*>(&buffer), errors, status);
    }

    // Prepares a new record: cleared (texts blank, numbers 0) unless `keep`; the payment order
    // then gets `REW:N_D` = "N".
    void prime(bool keep = false) {
        if (!rec_) return;
        const R cleared{};
        primeBuffer(keep, &cleared);
        primeRule(*rec_);
    }

    // A record test applied inside every read (next, previous, readPage); empty = all.
    void setFilter(std::function<bool(const R&)> test) {
        if (!test) {
            setFilterBytes({});
            return;
        }
        setFilterBytes([test = std::move(test)](const std::byte* bytes) {
            R r;
            std::memcpy(static_cast<void*>(&r), bytes, sizeof(R));
            return test(r);
        });
    }

  private:
    static void primeRule(R&) {}
    R* rec_ = nullptr;
};

// A new payment order is marked "N" whether or not the buffer was kept.
template <>
inline void FileManager<RewRecord>::primeRule(RewRecord& r) {
    r.N_D = "N";
}

// The relation manager of one file on one thread (the system's `Relate:REW`): windows open and
// close the file through it. There are no relations between the files.
template <class R>
class RelationManager {
  public:
    void init(FileManager<R>& file) { file_ = &file; }
    void kill() {
        if (file_) file_->kill();
        file_ = nullptr;
    }
    bool initialised() const { return file_ != nullptr; }

    // Registers a holder; the file is opened at its first use.
    void open() {
        if (file_) file_->registerOpen();
    }
    // Releases a holder; the last one closes the file.
    void close() {
        if (file_) file_->releaseOpen();
    }
    int openCount() const { return file_ ? file_->openCount() : 0; }

    FileManager<R>* file() { return file_; }

  private:
    FileManager<R>* file_ = nullptr;
};

}  // namespace pordex
