#include "platform/files/record_sql.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "platform/files/text_filter.h"
#include "platform/runtime/codec.h"

namespace pordex::files::sql {
namespace {

bool ascii(const unsigned char* s, int n) {
    for (int i = 0; i < n; ++i)
        if (s[i] >= 0x80) return false;
    return true;
}

// Compares two stored texts as the fixed-width Windows-1251 fields they stand for: byte order
// of the code page, the shorter one as if padded with blanks.
template <bool Nocase>
int compareText(void*, int n1, const void* p1, int n2, const void* p2) {
    auto s1 = static_cast<const unsigned char*>(p1);
    auto s2 = static_cast<const unsigned char*>(p2);
    std::string c1, c2;
    if (!ascii(s1, n1) || !ascii(s2, n2)) {
        c1 = utf8ToCp1251({reinterpret_cast<const char*>(s1), static_cast<std::size_t>(n1)});
        c2 = utf8ToCp1251({reinterpret_cast<const char*>(s2), static_cast<std::size_t>(n2)});
        s1 = reinterpret_cast<const unsigned char*>(c1.data());
        s2 = reinterpret_cast<const unsigned char*>(c2.data());
        n1 = static_cast<int>(c1.size());
        n2 = static_cast<int>(c2.size());
    }
    const int n = std::max(n1, n2);
    for (int i = 0; i < n; ++i) {
        unsigned char a = i < n1 ? s1[i] : ' ';
        unsigned char b = i < n2 ? s2[i] : ' ';
        if constexpr (Nocase) {
            a = cp1251Upper(a);
            b = cp1251Upper(b);
        }
        if (a != b) return a < b ? -1 : 1;
    }
    return 0;
}

struct SortColumn {
    std::string expr;  // quoted column with its collation
    std::size_t field;
    bool descending;
};

std::string columnExpr(const FieldDesc& f, bool nocase) {
    std::string e = quote(f.name);
    if (f.type == FieldType::String) {
        e += " COLLATE ";
        e += nocase ? kNocaseCollation : kTextCollation;
    }
    return e;
}

// The columns a key orders by, before the row column.
std::vector<SortColumn> sortColumns(const FileDesc& desc, int key) {
    std::vector<SortColumn> cols;
    if (key < 0) return cols;
    const KeyDesc& k = desc.keys[static_cast<std::size_t>(key)];
    cols.push_back({columnExpr(desc.fields[k.field], k.nocase), k.field, false});
    if (!k.unique && k.thenField >= 0) {
        const auto tf = static_cast<std::size_t>(k.thenField);
        cols.push_back({columnExpr(desc.fields[tf], false), tf, k.thenDescending});
    }
    return cols;
}

std::string orderBy(const std::vector<SortColumn>& cols, bool backward) {
    std::string s = " ORDER BY ";
    for (const auto& c : cols) {
        s += c.expr;
        s += (c.descending != backward) ? " DESC, " : ", ";
    }
    s += quote(kRowColumn);
    s += backward ? " DESC" : "";
    return s;
}

std::string fromClause(const FileDesc& desc, int key) {
    std::string s = " FROM " + quote(desc.label);
    if (key >= 0) s += " INDEXED BY " + quote(indexName(desc, key));
    return s;
}

std::string where(const std::vector<std::string>& conds) {
    if (conds.empty()) return "";
    std::string s = " WHERE ";
    for (std::size_t i = 0; i < conds.size(); ++i) {
        if (i) s += " AND ";
        s += conds[i];
    }
    return s;
}

}  // namespace

int registerCollations(sqlite3* db) {
    int rc = sqlite3_create_collation_v2(db, kTextCollation, SQLITE_UTF8, nullptr,
                                         compareText<false>, nullptr);
    if (rc != SQLITE_OK) return rc;
    return sqlite3_create_collation_v2(db, kNocaseCollation, SQLITE_UTF8, nullptr,
                                       compareText<true>, nullptr);
}

std::string quote(std::string_view name) {
    std::string s = "\"";
    for (char c : name) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + "\"";
}

std::string createTable(const FileDesc& desc) {
    std::string s =
        "CREATE TABLE " + quote(desc.label) + " (" + quote(kRowColumn) + " INTEGER PRIMARY KEY";
    for (const FieldDesc& f : desc.fields) {
        const std::string c = quote(f.name);
        s += ", " + c;
        switch (f.type) {
            case FieldType::Byte:
                s += " INTEGER NOT NULL CHECK (typeof(" + c + ") = 'integer' AND " + c +
                     " BETWEEN 0 AND 255)";
                break;
            case FieldType::Short:
                s += " INTEGER NOT NULL CHECK (typeof(" + c + ") = 'integer' AND " + c +
                     " BETWEEN -32768 AND 32767)";
                break;
            case FieldType::Long:
                s += " INTEGER NOT NULL CHECK (typeof(" + c + ") = 'integer' AND " + c +
                     " BETWEEN -2147483648 AND 2147483647)";
                break;
            case FieldType::Real:
                s += " REAL NOT NULL CHECK (typeof(" + c + ") = 'real')";
                break;
            case FieldType::String:
                s += " TEXT NOT NULL CHECK (typeof(" + c + ") = 'text' AND length(" + c +
                     ") <= " + std::to_string(f.width) + ")";
                break;
        }
    }
    return s + ")";
}

std::string createCountTable() {
    return "CREATE TABLE " + quote(kCountTable) + " (\"n\" INTEGER NOT NULL)";
}

std::string indexName(const FileDesc& desc, int key) {
    return std::string(desc.label) + "_" +
           std::string(desc.keys[static_cast<std::size_t>(key)].name);
}

std::string optCondition(const FileDesc& desc, int key) {
    const KeyDesc& k = desc.keys[static_cast<std::size_t>(key)];
    if (!k.opt) return "";
    const FieldDesc& f = desc.fields[k.field];
    return quote(f.name) + (f.type == FieldType::String ? " <> ''" : " <> 0");
}

std::vector<std::pair<std::string, std::string>> keyObjects(const FileDesc& desc) {
    std::vector<std::pair<std::string, std::string>> objs;
    for (std::size_t i = 0; i < desc.keys.size(); ++i) {
        const int key = static_cast<int>(i);
        const std::string name = indexName(desc, key);
        std::string s = desc.keys[i].unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
        s += quote(name) + " ON " + quote(desc.label) + " (";
        const auto cols = sortColumns(desc, key);
        for (std::size_t c = 0; c < cols.size(); ++c) {
            if (c) s += ", ";
            s += cols[c].expr;
            if (cols[c].descending) s += " DESC";
        }
        s += ")";
        const std::string opt = optCondition(desc, key);
        if (!opt.empty()) s += " WHERE " + opt;
        objs.emplace_back(name, s);
    }
    const std::string table = quote(desc.label);
    const std::string count = quote(kCountTable);
    objs.emplace_back("_count_insert", "CREATE TRIGGER \"_count_insert\" AFTER INSERT ON " + table +
                                           " BEGIN UPDATE " + count +
                                           " SET \"n\" = \"n\" + 1; END");
    objs.emplace_back("_count_delete", "CREATE TRIGGER \"_count_delete\" AFTER DELETE ON " + table +
                                           " BEGIN UPDATE " + count +
                                           " SET \"n\" = \"n\" - 1; END");
    return objs;
}

std::string selectColumns(const FileDesc& desc) {
    std::string s = quote(kRowColumn);
    for (const FieldDesc& f : desc.fields) s += ", " + quote(f.name);
    return s;
}

std::vector<SeekQuery> seekQueries(const FileDesc& desc, const Order& order, Position::Kind kind,
                                   Direction direction, std::string_view columns) {
    const int key = order.key;
    const bool backward = direction == Direction::Backward;
    const auto cols = sortColumns(desc, key);
    const std::string head = "SELECT " +
                             (columns.empty() ? selectColumns(desc) : std::string(columns)) +
                             fromClause(desc, key);
    const std::string tail = orderBy(cols, backward);
    std::vector<std::string> base;
    if (key >= 0) {
        const std::string opt = optCondition(desc, key);
        if (!opt.empty()) base.push_back(opt);
    }
    const std::string row = quote(kRowColumn);

    std::vector<SeekQuery> out;
    if (kind == Position::Kind::AtKey && key < 0) kind = Position::Kind::First;
    switch (kind) {
        case Position::Kind::First:
            if (!backward) out.push_back({head + where(base) + tail, {}, false});
            break;
        case Position::Kind::Last:
            if (backward) out.push_back({head + where(base) + tail, {}, false});
            break;
        case Position::Kind::AtKey: {
            auto conds = base;
            conds.push_back(cols[0].expr + (backward ? " < ?" : " >= ?"));
            out.push_back({head + where(conds) + tail, {cols[0].field}, false});
            break;
        }
        case Position::Kind::Before:
        case Position::Kind::After: {
            // The records beyond (v1..vm, row) in this direction: first those equal in every
            // sort column with the row beyond, then those equal in the first i-1 columns and
            // beyond in column i, for i from m down to 1.
            const bool inclusive = (kind == Position::Kind::Before) != backward;
            std::vector<std::size_t> fields;
            for (const auto& c : cols) fields.push_back(c.field);
            {
                auto conds = base;
                for (const auto& c : cols) conds.push_back(c.expr + " = ?");
                const char* op =
                    backward ? (inclusive ? " <= ?" : " < ?") : (inclusive ? " >= ?" : " > ?");
                conds.push_back(row + op);
                out.push_back({head + where(conds) + tail, fields, true});
            }
            for (std::size_t i = cols.size(); i-- > 0;) {
                auto conds = base;
                for (std::size_t j = 0; j < i; ++j) conds.push_back(cols[j].expr + " = ?");
                const bool greater = cols[i].descending == backward;
                conds.push_back(cols[i].expr + (greater ? " > ?" : " < ?"));
                out.push_back({head + where(conds) + tail,
                               std::vector<std::size_t>(fields.begin(), fields.begin() + i + 1),
                               false});
            }
            break;
        }
    }
    return out;
}

std::vector<std::size_t> sortFields(const FileDesc& desc, int key) {
    std::vector<std::size_t> fields;
    for (const auto& c : sortColumns(desc, key)) fields.push_back(c.field);
    return fields;
}

std::string containsCondition(const FileDesc& desc, const std::vector<std::size_t>& fields,
                              int first) {
    std::string s;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) s += " AND ";
        s += std::string(kContainsFunction) + "(" + quote(desc.fields[fields[i]].name) + ", ?" +
             std::to_string(first + static_cast<int>(i)) + ")";
    }
    return s.empty() ? "1" : s;
}

SeekQuery scanQuery(const FileDesc& desc, const Order& order, Position::Kind kind,
                    Direction direction, const std::string& condition, int params) {
    const int key = order.key;
    const bool backward = direction == Direction::Backward;
    const auto cols = sortColumns(desc, key);
    const std::string row = quote(kRowColumn);
    std::vector<std::string> conds;
    if (key >= 0) {
        const std::string opt = optCondition(desc, key);
        if (!opt.empty()) conds.push_back(opt);
    }
    // The test first: it turns most records away before the position is compared.
    conds.push_back(condition);
    SeekQuery q;
    int next = params + 1;
    auto param = [&] { return "?" + std::to_string(next++); };
    if (kind == Position::Kind::AtKey && key < 0) kind = Position::Kind::First;
    switch (kind) {
        case Position::Kind::First:
        case Position::Kind::Last:
            // Nothing lies before the first record or after the last.
            if ((kind == Position::Kind::First) == backward) conds.push_back("0");
            break;
        case Position::Kind::AtKey:
            conds.push_back(cols[0].expr + (backward ? " < " : " >= ") + param());
            q.valueFields.push_back(cols[0].field);
            break;
        case Position::Kind::Before:
        case Position::Kind::After: {
            // Beyond (v1..vm, row) in this direction, as one condition: the records equal in
            // every sort column with the row beyond, or equal in the first i-1 columns and
            // beyond in column i.
            const bool inclusive = (kind == Position::Kind::Before) != backward;
            std::vector<std::string> values;
            for (const auto& c : cols) {
                values.push_back(param());
                q.valueFields.push_back(c.field);
            }
            const std::string rowParam = param();
            q.bindsRow = true;
            std::vector<std::string> alternatives;
            {
                std::string a;
                for (std::size_t j = 0; j < cols.size(); ++j)
                    a += cols[j].expr + " = " + values[j] + " AND ";
                a += row +
                     (backward ? (inclusive ? " <= " : " < ") : (inclusive ? " >= " : " > ")) +
                     rowParam;
                alternatives.push_back(a);
            }
            for (std::size_t i = cols.size(); i-- > 0;) {
                std::string a;
                for (std::size_t j = 0; j < i; ++j) a += cols[j].expr + " = " + values[j] + " AND ";
                const bool greater = cols[i].descending == backward;
                a += cols[i].expr + (greater ? " > " : " < ") + values[i];
                alternatives.push_back(a);
            }
            std::string any = "(";
            for (std::size_t i = 0; i < alternatives.size(); ++i)
                any += (i ? ") OR (" : "(") + alternatives[i];
            conds.push_back(any + "))");
            break;
        }
    }
    // NOT INDEXED: a pass through the table in storage order, then a sort of what passes.
    q.sql = "SELECT " + selectColumns(desc) + " FROM " + quote(desc.label) + " NOT INDEXED" +
            where(conds) + orderBy(cols, backward) + " LIMIT " + param();
    return q;
}

std::string fetchQuery(const FileDesc& desc, int key) {
    const auto cols = sortColumns(desc, key);
    std::vector<std::string> conds;
    const std::string opt = optCondition(desc, key);
    if (!opt.empty()) conds.push_back(opt);
    conds.push_back(cols[0].expr + " = ?1");
    // A unique key holds the value once at most: nothing to order.
    const bool unique = desc.keys[static_cast<std::size_t>(key)].unique;
    return "SELECT " + selectColumns(desc) + fromClause(desc, key) + where(conds) +
           (unique ? std::string() : orderBy(cols, false)) + " LIMIT 1";
}

std::string duplicateQuery(const FileDesc& desc, int key) {
    const auto cols = sortColumns(desc, key);
    std::vector<std::string> conds;
    const std::string opt = optCondition(desc, key);
    if (!opt.empty()) conds.push_back(opt);
    conds.push_back(cols[0].expr + " = ?1");
    conds.push_back(quote(kRowColumn) + " <> ?2");
    return "SELECT 1" + fromClause(desc, key) + where(conds) + " LIMIT 1";
}

}  // namespace pordex::files::sql
