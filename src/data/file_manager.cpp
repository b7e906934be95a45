#include "data/file_manager.h"

#include <cstring>

namespace pordex {

FileManagerBase::FileManagerBase() = default;
FileManagerBase::~FileManagerBase() = default;

void FileManagerBase::init(const files::FileDesc& desc, std::byte* buffer,
                           files::ErrorManager& errors, files::ErrorStatus* status) {
    kill();
    desc_ = &desc;
    buffer_ = buffer;
    errors_ = &errors;
    status_ = status;
}

void FileManagerBase::kill() {
    if (file_) file_->close();
    file_.reset();
    desc_ = nullptr;
    buffer_ = nullptr;
    errors_ = nullptr;
    status_ = nullptr;
    holders_ = 0;
    hasCurrent_ = false;
    current_ = 0;
    order_ = files::Order::file();
    position_ = files::Position::first();
    freshSet_ = true;
    filter_ = {};
}

void FileManagerBase::registerOpen() {
    if (initialised()) ++holders_;
}

void FileManagerBase::releaseOpen() {
    if (holders_ == 0) return;
    if (--holders_ == 0 && file_) {
        file_->close();
        file_.reset();
        hasCurrent_ = false;
    }
}

bool FileManagerBase::reallyOpen() const {
    return file_ && file_->isOpen();
}

bool FileManagerBase::use() {
    if (!initialised()) {
        lastStatus_ = files::Status::Failed;
        return false;
    }
    if (reallyOpen()) return true;
    if (!file_) file_ = std::make_unique<files::RecordFile>(*desc_, *errors_, status_);
    if (file_->open()) return true;
    lastStatus_ = files::Status::Failed;
    return false;
}

files::RecordFile* FileManagerBase::file() {
    return use() ? file_.get() : nullptr;
}

bool FileManagerBase::fetch(int key) {
    if (!use()) return false;
    files::RowId id = 0;
    // The key value is taken from the buffer before the record found overwrites it.
    lastStatus_ = file_->fetch(key, buffer_, buffer_, &id);
    if (lastStatus_ != files::Status::Ok) return false;
    hasCurrent_ = true;
    current_ = id;
    return true;
}

bool FileManagerBase::reget(files::RowId id) {
    if (!use()) return false;
    lastStatus_ = file_->get(id, buffer_);
    if (lastStatus_ != files::Status::Ok) return false;
    hasCurrent_ = true;
    current_ = id;
    return true;
}

bool FileManagerBase::insert() {
    if (!use()) return false;
    files::RowId id = 0;
    if (!file_->insert(buffer_, &id)) {
        lastStatus_ = files::Status::Failed;
        return false;
    }
    lastStatus_ = files::Status::Ok;
    hasCurrent_ = true;
    current_ = id;
    return true;
}

bool FileManagerBase::update() {
    if (!use()) return false;
    // Without a current record the store finds nothing to change and says so.
    const bool ok = file_->update(hasCurrent_ ? current_ : 0, buffer_);
    lastStatus_ = ok ? files::Status::Ok : files::Status::Failed;
    return ok;
}

bool FileManagerBase::deleteRecord() {
    if (!use()) return false;
    const bool ok = file_->remove(hasCurrent_ ? current_ : 0);
    lastStatus_ = ok ? files::Status::Ok : files::Status::Failed;
    if (ok) hasCurrent_ = false;
    return ok;
}

LONG FileManagerBase::count() {
    if (!use()) return 0;
    const std::int64_t n = file_->count();
    lastStatus_ = n < 0 ? files::Status::Failed : files::Status::Ok;
    return n < 0 ? 0 : static_cast<LONG>(n);
}

void FileManagerBase::set(int key) {
    order_ = files::Order{key};
    position_ = files::Position::first();
    freshSet_ = true;
}

void FileManagerBase::setAt(int key) {
    order_ = files::Order{key};
    position_ =
        buffer_ ? files::Position::atKey({buffer_, desc_->recordSize}) : files::Position::first();
    freshSet_ = false;
}

bool FileManagerBase::next() {
    return step(files::Direction::Forward);
}

bool FileManagerBase::previous() {
    if (freshSet_) position_ = files::Position::last();
    return step(files::Direction::Backward);
}

bool FileManagerBase::step(files::Direction direction) {
    if (!use()) return false;
    std::vector<files::Row> rows;
    if (!file_->read(order_, position_, direction, 1, rows, filter_)) {
        lastStatus_ = files::Status::Failed;
        return false;
    }
    if (rows.empty()) {
        lastStatus_ = files::Status::NotFound;
        return false;
    }
    load(rows.front());
    position_ = direction == files::Direction::Forward
                    ? files::Position::after(rows.front().id, rows.front().bytes)
                    : files::Position::before(rows.front().id, rows.front().bytes);
    freshSet_ = false;
    lastStatus_ = files::Status::Ok;
    return true;
}

bool FileManagerBase::readPage(const files::Order& order, const files::Position& from,
                               files::Direction direction, std::size_t n,
                               std::vector<files::Row>& out) {
    if (!use()) return false;
    const bool ok = file_->read(order, from, direction, n, out, filter_);
    lastStatus_ = ok ? files::Status::Ok : files::Status::Failed;
    return ok;
}

void FileManagerBase::load(const files::Row& row) {
    if (!buffer_ || row.bytes.size() != desc_->recordSize) return;
    std::memcpy(buffer_, row.bytes.data(), row.bytes.size());
    hasCurrent_ = true;
    current_ = row.id;
}

void FileManagerBase::primeBuffer(bool keep, const void* cleared) {
    if (!buffer_ || keep) return;
    std::memcpy(buffer_, cleared, desc_->recordSize);
}

}  // namespace pordex
