#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "data/file_layouts.h"
#include "platform/files/record_file.h"

// Records stored and read back through a connection of the test's own, past any window.
namespace pordex::test {

template <class R>
void storeRecords(const std::vector<R>& records) {
    files::RecordFile f(fileOf<R>());
    ASSERT_TRUE(f.open());
    if (!records.empty()) {
        ASSERT_TRUE(f.insertAll(records.data(), records.size()));
    }
}

// The whole file in file order.
template <class R>
std::vector<R> readRecords() {
    files::RecordFile f(fileOf<R>());
    std::vector<R> out;
    if (!f.open()) return out;
    std::vector<files::Row> rows;
    f.read(files::Order::file(), files::Position::first(), files::Direction::Forward, 1000000,
           rows);
    for (const auto& row : rows) {
        R r;
        std::memcpy(static_cast<void*>(&r), row.bytes.data(), sizeof r);
        out.push_back(r);
    }
    return out;
}

}  // namespace pordex::test
