#pragma once

// The SQL the record-file layer speaks: schema, key indexes and the seek queries of ordered
// reading. Internal to the layer; tests use it to check that reads stay on the indexes.

#include <string>
#include <utility>
#include <vector>

#include "platform/files/layout.h"
#include "platform/files/record_file.h"

struct sqlite3;

namespace pordex::files::sql {

// Marks a database as one of our record files, and the layout of its schema.
inline constexpr int kApplicationId = 0x50445846;  // "PDXF"
inline constexpr int kSchemaVersion = 1;

// The column holding a record's place in file order (the rowid).
inline constexpr const char* kRowColumn = "_rec";
// The one-row table holding the record count, kept by triggers.
inline constexpr const char* kCountTable = "_count";

// Text collations: Windows-1251 byte order, blank padded; the NOCASE one folds Latin and
// Cyrillic letters. Registered on every connection; an index using them cannot be changed by a
// connection that lacks them.
inline constexpr const char* kTextCollation = "PDX_TEXT";
inline constexpr const char* kNocaseCollation = "PDX_NOCASE";
int registerCollations(sqlite3* db);

std::string quote(std::string_view name);

// CREATE TABLE of the file: a typed column per field, with CHECKs keeping each value in its type
// and width.
std::string createTable(const FileDesc& desc);
std::string createCountTable();

// Every index and trigger the file must have, by name, with the exact statement creating it.
std::vector<std::pair<std::string, std::string>> keyObjects(const FileDesc& desc);
std::string indexName(const FileDesc& desc, int key);

// The comma-separated column list every read selects: the row column, then each field.
std::string selectColumns(const FileDesc& desc);

// One query of an ordered read. Its parameters, in order: the values of the sort columns
// `valueFields` (taken from the position's record), then the row id when `bindsRow`.
struct SeekQuery {
    std::string sql;
    std::vector<std::size_t> valueFields;
    bool bindsRow = false;
};

// The queries that together read from a position in one direction, in the order they are to be
// run: each continues where the previous one ends. Every one seeks through the key's index.
// `columns`, when given, replaces the selected columns; its own parameters must be numbered
// (?1 .. ?k), and the queries' parameters then follow from ?k+1 on.
std::vector<SeekQuery> seekQueries(const FileDesc& desc, const Order& order, Position::Kind kind,
                                   Direction direction, std::string_view columns = {});

// The sort columns of a key, in order (empty for file order).
std::vector<std::size_t> sortFields(const FileDesc& desc, int key);

// The condition that every text condition holds: pdx_contains(column, ?first) AND ... , the
// fragments bound from parameter `first` on, in the order of `fields`.
std::string containsCondition(const FileDesc& desc, const std::vector<std::size_t>& fields,
                              int first);

// One query reading from a position in one direction, the records passing `condition` only:
// it scans the table in storage order and sorts what passes, for a read that finds few records
// among many. The condition's parameters come first (?1 .. ?k, `params` of them); then the sort
// columns' values and the row id (valueFields, bindsRow), numbered on; the last parameter is the
// most records to read.
SeekQuery scanQuery(const FileDesc& desc, const Order& order, Position::Kind kind,
                    Direction direction, const std::string& condition, int params);

// The first record in key order with a given key value (parameter 1).
std::string fetchQuery(const FileDesc& desc, int key);
// Whether a record other than row ?2 holds key value ?1 (unique keys).
std::string duplicateQuery(const FileDesc& desc, int key);

// The SQL condition keeping an OPT key's zero or blank values out, or "" for a non-OPT key.
std::string optCondition(const FileDesc& desc, int key);

}  // namespace pordex::files::sql
