#include "platform/files/record_file.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <unordered_map>

#include "platform/files/record_sql.h"
#include "platform/files/text_filter.h"
#include "platform/runtime/codec.h"

namespace pordex::files {
namespace {

// The record-file layer's messages: title and text, %File, %ErrorText and %Message filled in.
constexpr std::string_view kOpenTitle = "Ошибка доступа к файлу";
constexpr std::string_view kOpenText = "Файл %File не может быть открыт.  Ошибка: %ErrorText.";
constexpr std::string_view kCreateTitle = "Ошибка создания файла";
constexpr std::string_view kCreateText = "Ошибка: (%ErrorText) создания %File.";
constexpr std::string_view kBadKeyTitle = "Неверный ключ";
constexpr std::string_view kBadKeyText = "Файл %File - ключ испорчен. Ключ необходимо перестроить.";
constexpr std::string_view kRebuildTitle = "Ключ не построен";
constexpr std::string_view kRebuildText = "Ошибка: (%ErrorText) восстановления ключа для %File.";
constexpr std::string_view kDeniedTitle = "Доступ запрещен";
constexpr std::string_view kDeniedText =
    "Невозможно производить запись в файл %File поэтому осуществляется только чтение.";
constexpr std::string_view kDupTitle = "Ошибка дублирования в ключе";
constexpr std::string_view kDupText =
    "Добавление этой записи создает дублирование для ключа: %Message";
constexpr std::string_view kAddTitle = "Ошибка добавления записи";
constexpr std::string_view kAddText = "Возникла ошибка при создании записи. Ошибка: %ErrorText.";
constexpr std::string_view kPutTitle = "Запись не обновляется";
constexpr std::string_view kPutText =
    "Возникла ошибка (%ErrorText) при внесении изменений в файл %File.";
constexpr std::string_view kDelTitle = "Запись не удаляется";
constexpr std::string_view kDelText =
    "Возникла ошибка (%ErrorText) при удалении записи из %File файла.";
constexpr std::string_view kReadTitle = "Ошибка доступа к записи";
constexpr std::string_view kReadText =
    "Ошибка: (%ErrorText) возникла при доступе к файлу %File.  Возвращаемся к предыдущему "
    "окну.";
constexpr std::string_view kHeldTitle = "Запись не читается";
constexpr std::string_view kHeldText =
    "Запись захвачена другой рабочей станцией, невозможно чтение файла %File.";

std::string fill(std::string_view tmpl, std::string_view file, std::string_view errorText,
                 std::string_view message = {}) {
    std::string s(tmpl);
    const std::pair<std::string_view, std::string_view> subs[] = {
        {"%File", file}, {"%ErrorText", errorText}, {"%Message", message}};
    for (const auto& [from, to] : subs) {
        for (std::size_t at = s.find(from); at != std::string::npos;
             at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
    }
    return s;
}

// The store's failures in the user's words.
std::pair<ErrorCode, std::string> describe(int rc, sqlite3* db) {
    if (rc == SQLITE_CONSTRAINT_UNIQUE)
        return {ErrorCode::Duplicate, "в ключе повторяются значения"};
    switch (rc & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {ErrorCode::Locked, "файл занят другим пользователем"};
        case SQLITE_READONLY:
            return {ErrorCode::ReadOnly, "файл открыт только для чтения"};
        case SQLITE_NOTADB:
            return {ErrorCode::Failed, "файл не является файлом данных"};
        case SQLITE_CORRUPT:
            return {ErrorCode::Failed, "файл поврежден"};
        case SQLITE_CANTOPEN:
            return {ErrorCode::Failed, "файл не удается открыть"};
        case SQLITE_FULL:
            return {ErrorCode::Failed, "диск переполнен"};
        case SQLITE_IOERR:
            return {ErrorCode::Failed, "ошибка ввода-вывода"};
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return {ErrorCode::Failed, "доступ запрещен"};
        case SQLITE_CONSTRAINT:
            return {ErrorCode::Failed, "значение поля недопустимо"};
        default:
            return {ErrorCode::Failed,
                    db ? std::string(sqlite3_errmsg(db)) : std::string(sqlite3_errstr(rc))};
    }
}

// Little-endian fields, whatever the host.
std::uint64_t loadLE(const std::byte* p, std::size_t width) {
    std::uint64_t v = 0;
    for (std::size_t i = width; i-- > 0;) v = (v << 8) | std::to_integer<std::uint64_t>(p[i]);
    return v;
}

void storeLE(std::byte* p, std::size_t width, std::uint64_t v) {
    for (std::size_t i = 0; i < width; ++i, v >>= 8) p[i] = static_cast<std::byte>(v & 0xff);
}

std::int64_t intValue(const FieldDesc& f, const std::byte* rec) {
    const std::uint64_t u = loadLE(rec + f.offset, f.width);
    switch (f.type) {
        case FieldType::Byte:
            return static_cast<std::uint8_t>(u);
        case FieldType::Short:
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(u));
        default:
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(u));
    }
}

double realValue(const FieldDesc& f, const std::byte* rec) {
    const std::uint64_t u = loadLE(rec + f.offset, 8);
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

std::string_view trimmedText(const FieldDesc& f, const std::byte* rec) {
    const char* s = reinterpret_cast<const char*>(rec + f.offset);
    std::size_t n = f.width;
    while (n > 0 && s[n - 1] == ' ') --n;
    return {s, n};
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Whether the record's value of `key` is entered in the key (an OPT key leaves out zero/blank).
bool inKey(const FileDesc& desc, int key, const std::byte* rec) {
    const KeyDesc& k = desc.keys[static_cast<std::size_t>(key)];
    if (!k.opt) return true;
    const FieldDesc& f = desc.fields[k.field];
    switch (f.type) {
        case FieldType::String:
            return !trimmedText(f, rec).empty();
        case FieldType::Real:
            return realValue(f, rec) != 0.0;
        default:
            return intValue(f, rec) != 0;
    }
}

int bindField(sqlite3_stmt* st, int index, const FieldDesc& f, const std::byte* rec) {
    switch (f.type) {
        case FieldType::Byte:
        case FieldType::Short:
        case FieldType::Long:
            return sqlite3_bind_int64(st, index, intValue(f, rec));
        case FieldType::Real:
            return sqlite3_bind_double(st, index, realValue(f, rec));
        case FieldType::String: {
            const std::string_view t = trimmedText(f, rec);
            if (isAscii(t))
                return sqlite3_bind_text(st, index, t.data(), static_cast<int>(t.size()),
                                         SQLITE_TRANSIENT);
            const std::string u = cp1251ToUtf8(t);
            return sqlite3_bind_text(st, index, u.data(), static_cast<int>(u.size()),
                                     SQLITE_TRANSIENT);
        }
    }
    return SQLITE_MISUSE;
}

// Column `col` holds field `f`.
void decodeField(sqlite3_stmt* st, int col, const FieldDesc& f, std::byte* out) {
    {
        std::byte* p = out + f.offset;
        switch (f.type) {
            case FieldType::Byte:
            case FieldType::Short:
            case FieldType::Long:
                storeLE(p, f.width, static_cast<std::uint64_t>(sqlite3_column_int64(st, col)));
                break;
            case FieldType::Real: {
                const double d = sqlite3_column_double(st, col);
                std::uint64_t u;
                std::memcpy(&u, &d, sizeof u);
                storeLE(p, 8, u);
                break;
            }
            case FieldType::String: {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
                std::string_view v(t ? t : "",
                                   static_cast<std::size_t>(sqlite3_column_bytes(st, col)));
                std::string c;
                if (!isAscii(v)) {
                    c = utf8ToCp1251(v);
                    v = c;
                }
                const std::size_t n = std::min(v.size(), f.width);
                std::memcpy(p, v.data(), n);
                std::memset(p + n, ' ', f.width - n);
                break;
            }
        }
    }
}

// Columns from `first` on hold the fields in layout order.
void decodeRow(sqlite3_stmt* st, int first, const FileDesc& desc, std::byte* out) {
    int col = first;
    for (const FieldDesc& f : desc.fields) decodeField(st, col++, f, out);
}

std::string normalizeSql(std::string_view s) {
    std::string out;
    bool space = false;
    for (char c : s) {
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

const char* sqlType(FieldType t) {
    switch (t) {
        case FieldType::Real:
            return "REAL";
        case FieldType::String:
            return "TEXT";
        default:
            return "INTEGER";
    }
}

// Binds where a seek starts: the values of its fields from the position's record, then the row
// id when the query asks for it. Returns the next free parameter.
int bindPosition(sqlite3_stmt* st, int first, const FileDesc& desc, const sql::SeekQuery& q,
                 const Position& at) {
    int i = first;
    for (std::size_t field : q.valueFields)
        bindField(st, i++, desc.fields[field], at.record().data());
    if (q.bindsRow) sqlite3_bind_int64(st, i++, at.id());
    return i;
}

// Resets a cached statement when the scope ends, so no read keeps the file locked.
class StmtUse {
  public:
    explicit StmtUse(sqlite3_stmt* s) : s_(s) {}
    ~StmtUse() {
        if (s_) {
            sqlite3_reset(s_);
            sqlite3_clear_bindings(s_);
        }
    }
    StmtUse(const StmtUse&) = delete;
    StmtUse& operator=(const StmtUse&) = delete;

  private:
    sqlite3_stmt* s_;
};

}  // namespace

// ---- Position ----------------------------------------------------------------------------

Position Position::first() {
    return Position{};
}

Position Position::last() {
    Position p;
    p.kind_ = Kind::Last;
    return p;
}

Position Position::atKey(std::span<const std::byte> record) {
    Position p;
    p.kind_ = Kind::AtKey;
    p.record_.assign(record.begin(), record.end());
    return p;
}

Position Position::before(RowId id, std::span<const std::byte> record) {
    Position p;
    p.kind_ = Kind::Before;
    p.id_ = id;
    p.record_.assign(record.begin(), record.end());
    return p;
}

Position Position::after(RowId id, std::span<const std::byte> record) {
    Position p = before(id, record);
    p.kind_ = Kind::After;
    return p;
}

// ---- RecordFile --------------------------------------------------------------------------

struct RecordFile::Impl {
    sqlite3* db = nullptr;
    bool readOnly = false;
    std::unordered_map<std::string, sqlite3_stmt*> cache;
    std::string insertSql, updateSql, deleteSql, getSql, countSql;
    std::vector<std::byte> scratch;

    ~Impl() { closeDb(); }

    void closeDb() {
        for (auto& [sql, st] : cache) sqlite3_finalize(st);
        cache.clear();
        if (db) sqlite3_close_v2(db);
        db = nullptr;
    }

    sqlite3_stmt* prepare(const std::string& sql, int& rc) {
        auto it = cache.find(sql);
        if (it != cache.end()) {
            rc = SQLITE_OK;
            return it->second;
        }
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &st, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(st);
            return nullptr;
        }
        cache.emplace(sql, st);
        return st;
    }

    int exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    int exec(const std::string& sql) { return exec(sql.c_str()); }

    void rollback() {
        if (db && !sqlite3_get_autocommit(db)) exec("ROLLBACK");
    }
};

RecordFile::RecordFile(const FileDesc& desc, ErrorManager& errors, ErrorStatus* status)
    : desc_(desc), errors_(errors), status_(status), impl_(std::make_unique<Impl>()) {
    const std::string table = sql::quote(desc.label);
    std::string names, marks, sets;
    for (std::size_t i = 0; i < desc.fields.size(); ++i) {
        const std::string c = sql::quote(desc.fields[i].name);
        names += (i ? ", " : "") + c;
        marks += i ? ", ?" : "?";
        sets += (i ? ", " : "") + c + " = ?";
    }
    const std::string row = sql::quote(sql::kRowColumn);
    impl_->insertSql = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    impl_->updateSql = "UPDATE " + table + " SET " + sets + " WHERE " + row + " = ?";
    impl_->deleteSql = "DELETE FROM " + table + " WHERE " + row + " = ?";
    impl_->getSql =
        "SELECT " + sql::selectColumns(desc) + " FROM " + table + " WHERE " + row + " = ?";
    impl_->countSql = "SELECT \"n\" FROM " + sql::quote(sql::kCountTable);
    impl_->scratch.resize(desc.recordSize);
}

RecordFile::~RecordFile() = default;

std::string RecordFile::displayName() const {
    return std::string(desc_.path);
}

bool RecordFile::isOpen() const {
    return impl_->db != nullptr;
}
bool RecordFile::readOnly() const {
    return impl_->readOnly;
}

void RecordFile::close() {
    impl_->rollback();
    impl_->closeDb();
    impl_->readOnly = false;
}

namespace {

struct Failure {
    int rc = SQLITE_OK;
    std::string text;  // when set, replaces the description of rc
};

int openDb(sqlite3** db, const std::string& path, int flags) {
    *db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_extended_result_codes(*db, 1);
    sqlite3_busy_timeout(*db, RecordFile::kLockRecoverySeconds * 1000);
    // Nothing here may read the file: it is checked first.
    rc = sql::registerCollations(*db);
    if (rc != SQLITE_OK) return rc;
    return sql::registerTextFunctions(*db);
}

int intPragma(sqlite3* db, const char* pragma, int& value) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, pragma, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            value = sqlite3_column_int(st, 0);
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(st);
    return rc;
}

// Runs a query and hands every row to `each`.
template <class F>
int query(sqlite3* db, const std::string& text, F each) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, text.c_str(), -1, &st, nullptr);
    while (rc == SQLITE_OK) {
        rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            each(st);
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(st);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

std::string columnText(sqlite3_stmt* st, int col) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    return t ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(st, col)))
             : std::string();
}

// A file opened read-only by path, not expecting anyone to change it meanwhile.
std::string immutableUri(const std::string& path) {
    std::string uri = "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            uri += hex;
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

// Write-ahead logging: a confirmed change survives a killed process, readers never wait for a
// writer, several processes share the file, and a commit costs one flush to the disk. The mode
// is stored in the file; switching needs the file to itself, so a busy file keeps its mode.
void useWriteAheadLog(sqlite3* db) {
    std::string mode;
    query(db, "PRAGMA journal_mode", [&](sqlite3_stmt* st) { mode = columnText(st, 0); });
    if (mode != "wal") sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
}

int createSchema(sqlite3* db, const FileDesc& desc) {
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
    // Another process may have created it meanwhile.
    int tables = 0;
    rc = query(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table'",
               [&](sqlite3_stmt* st) { tables = sqlite3_column_int(st, 0); });
    std::vector<std::string> stmts;
    if (rc == SQLITE_OK && tables == 0) {
        stmts.push_back(sql::createTable(desc));
        stmts.push_back(sql::createCountTable());
        stmts.push_back("INSERT INTO " + sql::quote(sql::kCountTable) + " VALUES (0)");
        for (auto& [name, text] : sql::keyObjects(desc)) stmts.push_back(text);
        stmts.push_back("PRAGMA application_id = " + std::to_string(sql::kApplicationId));
        stmts.push_back("PRAGMA user_version = " + std::to_string(sql::kSchemaVersion));
    }
    for (const auto& s : stmts) {
        if (rc != SQLITE_OK) break;
        rc = sqlite3_exec(db, s.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK && !sqlite3_get_autocommit(db))
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc;
}

// Checks that the database is one of our record files with this layout. An empty database (a
// file of length 0) gets the schema when it can be written.
Failure verifySchema(sqlite3* db, const FileDesc& desc, bool readOnly) {
    Failure f;
    int appId = 0, version = 0, tables = 0;
    if ((f.rc = intPragma(db, "PRAGMA application_id", appId)) != SQLITE_OK) return f;
    if ((f.rc = intPragma(db, "PRAGMA user_version", version)) != SQLITE_OK) return f;
    f.rc = query(db, "SELECT count(*) FROM sqlite_master",
                 [&](sqlite3_stmt* st) { tables = sqlite3_column_int(st, 0); });
    if (f.rc != SQLITE_OK) return f;
    if (appId == 0 && version == 0 && tables == 0) {
        if (readOnly) {
            f.rc = SQLITE_READONLY;
            return f;
        }
        if ((f.rc = createSchema(db, desc)) != SQLITE_OK) return f;
        return verifySchema(db, desc, readOnly);
    }
    if (appId != sql::kApplicationId) {
        f.rc = SQLITE_NOTADB;
        return f;
    }
    if (version != sql::kSchemaVersion) {
        f.rc = SQLITE_ERROR;
        f.text = "версия файла " + std::to_string(version) + " не поддерживается";
        return f;
    }
    // Columns: the row column, then one per field with its type.
    std::vector<std::pair<std::string, std::string>> cols;
    f.rc = query(db, "PRAGMA table_info(" + sql::quote(desc.label) + ")", [&](sqlite3_stmt* st) {
        cols.emplace_back(columnText(st, 1), columnText(st, 2));
    });
    if (f.rc != SQLITE_OK) return f;
    bool fits = cols.size() == desc.fields.size() + 1 && cols[0].first == sql::kRowColumn;
    for (std::size_t i = 0; fits && i < desc.fields.size(); ++i)
        fits = cols[i + 1].first == desc.fields[i].name &&
               cols[i + 1].second == sqlType(desc.fields[i].type);
    if (!fits) {
        f.rc = SQLITE_ERROR;
        f.text = "структура файла не совпадает с описанием " + std::string(desc.label);
    }
    return f;
}

// Whether the indexes, the count and its triggers are exactly the declared ones.
bool keysFit(sqlite3* db, const FileDesc& desc) {
    std::map<std::string, std::string> present;
    int rc = query(
        db,
        "SELECT name, sql FROM sqlite_master WHERE type IN ('index', 'trigger') AND "
        "sql IS NOT NULL",
        [&](sqlite3_stmt* st) { present[columnText(st, 0)] = normalizeSql(columnText(st, 1)); });
    if (rc != SQLITE_OK) return false;
    std::map<std::string, std::string> expected;
    for (auto& [name, text] : sql::keyObjects(desc)) expected[name] = normalizeSql(text);
    if (present != expected) return false;
    int rows = -1;
    rc = query(db, "SELECT count(*) FROM " + sql::quote(sql::kCountTable),
               [&](sqlite3_stmt* st) { rows = sqlite3_column_int(st, 0); });
    return rc == SQLITE_OK && rows == 1;
}

// Drops every index and trigger and builds the declared ones again, with a fresh count.
int rebuildKeys(sqlite3* db, const FileDesc& desc) {
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
    if (keysFit(db, desc)) return sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    std::vector<std::string> stmts;
    rc =
        query(db,
              "SELECT type, name FROM sqlite_master WHERE type IN ('index', 'trigger') AND "
              "sql IS NOT NULL",
              [&](sqlite3_stmt* st) {
                  stmts.push_back((columnText(st, 0) == "index" ? "DROP INDEX " : "DROP TRIGGER ") +
                                  sql::quote(columnText(st, 1)));
              });
    const std::string count = sql::quote(sql::kCountTable);
    stmts.push_back("DROP TABLE IF EXISTS " + count);
    stmts.push_back(sql::createCountTable());
    stmts.push_back("INSERT INTO " + count + " SELECT count(*) FROM " + sql::quote(desc.label));
    for (auto& [name, text] : sql::keyObjects(desc)) stmts.push_back(text);
    for (const auto& s : stmts) {
        if (rc != SQLITE_OK) break;
        rc = sqlite3_exec(db, s.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK && !sqlite3_get_autocommit(db))
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc;
}

}  // namespace

bool RecordFile::open() {
    if (isOpen()) return true;
    lastError_ = ErrorCode::None;
    lastErrorText_.clear();
    const std::string name = displayName();
    const std::string path(desc_.path);

    auto fail = [&](int rc, const std::string& text) {
        auto [code, described] = describe(rc, impl_->db);
        lastError_ = code;
        lastErrorText_ = text.empty() ? described : text;
        impl_->closeDb();
        impl_->readOnly = false;
    };
    auto fatal = [&](std::string_view title, std::string_view tmpl) {
        errors_.report(ErrorKind::Fatal, title, fill(tmpl, name, lastErrorText_), status_);
        return false;
    };

    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (!exists) {
        const std::filesystem::path parent = std::filesystem::path(path).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent, ec);
        if (ec) {
            fail(SQLITE_CANTOPEN, "не удается создать папку " + parent.string());
            return fatal(kCreateTitle, kCreateText);
        }
        int rc = openDb(&impl_->db, path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (rc == SQLITE_OK) rc = createSchema(impl_->db, desc_);
        if (rc != SQLITE_OK) {
            fail(rc, {});
            return fatal(kCreateTitle, kCreateText);
        }
    } else {
        int rc = openDb(&impl_->db, path, SQLITE_OPEN_READWRITE);
        if (rc != SQLITE_OK) {
            fail(rc, {});
            return fatal(kOpenTitle, kOpenText);
        }
    }
    impl_->readOnly = sqlite3_db_readonly(impl_->db, "main") == 1;

    bool deniedShown = false;
    Failure f = verifySchema(impl_->db, desc_, impl_->readOnly);
    if ((f.rc & 0xff) == SQLITE_BUSY && !impl_->readOnly) {
        // Still locked after the recovery time: go on reading only.
        errors_.report(ErrorKind::Notice, kDeniedTitle, fill(kDeniedText, name, {}), status_);
        deniedShown = true;
        impl_->closeDb();
        int rc = openDb(&impl_->db, path, SQLITE_OPEN_READONLY);
        impl_->readOnly = true;
        f = rc == SQLITE_OK ? verifySchema(impl_->db, desc_, true) : Failure{rc, {}};
    }
    if (f.rc != SQLITE_OK && impl_->readOnly && f.text.empty()) {
        // Reading a write-ahead-logged file needs its shared-memory file beside it; where that
        // cannot be made (a read-only folder) the file is read as it stands on the disk.
        impl_->closeDb();
        int rc = openDb(&impl_->db, immutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        if (rc == SQLITE_OK) f = verifySchema(impl_->db, desc_, true);
    }
    if (f.rc != SQLITE_OK) {
        fail(f.rc, f.text);
        return fatal(kOpenTitle, kOpenText);
    }

    if (!keysFit(impl_->db, desc_)) {
        errors_.report(ErrorKind::Notice, kBadKeyTitle, fill(kBadKeyText, name, {}), status_);
        const int rc = impl_->readOnly ? SQLITE_READONLY : rebuildKeys(impl_->db, desc_);
        if (rc != SQLITE_OK) {
            fail(rc, {});
            return fatal(kRebuildTitle, kRebuildText);
        }
    }
    if (impl_->readOnly && !deniedShown)
        errors_.report(ErrorKind::Notice, kDeniedTitle, fill(kDeniedText, name, {}), status_);
    if (!impl_->readOnly) useWriteAheadLog(impl_->db);
    // Every confirmed change is on the disk before the call returns.
    impl_->exec("PRAGMA synchronous = FULL");
    return true;
}

namespace {

// Outcome of one change inside a transaction.
struct Change {
    int rc = SQLITE_OK;
    int duplicateKey = -1;  // the unique key that refused the record
    std::string text;       // replaces the description of rc
};

}  // namespace

namespace {

bool realsAreNumbers(const FileDesc& desc, const std::byte* rec, std::string& text) {
    for (const FieldDesc& f : desc.fields) {
        if (f.type == FieldType::Real && std::isnan(realValue(f, rec))) {
            text = "поле " + std::string(f.name) + " не содержит числа";
            return false;
        }
    }
    return true;
}

}  // namespace

// Whether another record than `self` holds rec's value in a unique key; -1 when none.
static Change findDuplicate(RecordFile::Impl& impl, const FileDesc& desc, const std::byte* rec,
                            RowId self) {
    Change c;
    for (std::size_t k = 0; k < desc.keys.size(); ++k) {
        const int key = static_cast<int>(k);
        if (!desc.keys[k].unique || !inKey(desc, key, rec)) continue;
        sqlite3_stmt* st = impl.prepare(sql::duplicateQuery(desc, key), c.rc);
        if (!st) return c;
        StmtUse use(st);
        bindField(st, 1, desc.fields[desc.keys[k].field], rec);
        sqlite3_bind_int64(st, 2, self);
        c.rc = sqlite3_step(st);
        if (c.rc == SQLITE_ROW) {
            c.rc = SQLITE_CONSTRAINT;
            c.duplicateKey = key;
            return c;
        }
        if (c.rc != SQLITE_DONE) return c;
        c.rc = SQLITE_OK;
    }
    return c;
}

// Adds one record inside the open transaction.
static Change insertRow(RecordFile::Impl& impl, const FileDesc& desc, const std::byte* rec,
                        RowId* id) {
    Change c;
    if (!realsAreNumbers(desc, rec, c.text)) {
        c.rc = SQLITE_MISMATCH;
        return c;
    }
    sqlite3_stmt* st = impl.prepare(impl.insertSql, c.rc);
    if (!st) return c;
    StmtUse use(st);
    int i = 1;
    for (const FieldDesc& f : desc.fields) bindField(st, i++, f, rec);
    c.rc = sqlite3_step(st);
    if (c.rc == SQLITE_DONE) {
        c.rc = SQLITE_OK;
        if (id) *id = sqlite3_last_insert_rowid(impl.db);
    } else if (c.rc == SQLITE_CONSTRAINT_UNIQUE) {
        sqlite3_reset(st);
        const Change d = findDuplicate(impl, desc, rec, 0);
        if (d.duplicateKey >= 0) c.duplicateKey = d.duplicateKey;
    }
    return c;
}

namespace {

int beginWrite(RecordFile::Impl& impl) {
    return impl.exec("BEGIN IMMEDIATE");
}

int commitWrite(RecordFile::Impl& impl) {
    int rc = impl.exec("COMMIT");
    if (rc != SQLITE_OK) impl.rollback();
    return rc;
}

}  // namespace

bool RecordFile::insert(const void* record, RowId* id) {
    return insertAll(record, 1, nullptr, id);
}

bool RecordFile::insertAll(const void* records, std::size_t count, std::size_t* failedAt,
                           RowId* lastId) {
    return writeRecords(records, count, false, failedAt, lastId);
}

bool RecordFile::replaceAll(const void* records, std::size_t count, std::size_t* failedAt) {
    return writeRecords(records, count, true, failedAt, nullptr);
}

bool RecordFile::writeRecords(const void* records, std::size_t count, bool replace,
                              std::size_t* failedAt, RowId* lastId) {
    const std::string name = displayName();
    Change c;
    std::size_t at = 0;
    if (!isOpen()) {
        lastError_ = ErrorCode::NotOpen;
        lastErrorText_ = "файл не открыт";
        errors_.report(ErrorKind::Notice, kAddTitle, fill(kAddText, name, lastErrorText_), status_);
        return false;
    }
    c.rc = beginWrite(*impl_);
    if (c.rc == SQLITE_OK && replace) c.rc = impl_->exec("DELETE FROM " + sql::quote(desc_.label));
    const auto* base = static_cast<const std::byte*>(records);
    for (; c.rc == SQLITE_OK && at < count; ++at) {
        c = insertRow(*impl_, desc_, base + at * desc_.recordSize, lastId);
        if (c.rc != SQLITE_OK) break;  // `at` names the refused record
    }
    if (c.rc == SQLITE_OK) {
        c.rc = commitWrite(*impl_);
        if (c.rc == SQLITE_OK) {
            lastError_ = ErrorCode::None;
            lastErrorText_.clear();
            return true;
        }
    } else {
        impl_->rollback();
    }
    if (failedAt) *failedAt = at;
    if (c.duplicateKey >= 0) {
        lastError_ = ErrorCode::Duplicate;
        lastErrorText_ = desc_.keys[static_cast<std::size_t>(c.duplicateKey)].description;
        errors_.report(ErrorKind::Notice, kDupTitle, fill(kDupText, name, {}, lastErrorText_),
                       status_);
        return false;
    }
    auto [code, text] = describe(c.rc, impl_->db);
    lastError_ = c.text.empty() ? code : ErrorCode::BadValue;
    lastErrorText_ = c.text.empty() ? text : c.text;
    errors_.report(ErrorKind::Notice, kAddTitle, fill(kAddText, name, lastErrorText_), status_);
    return false;
}

bool RecordFile::update(RowId id, const void* record) {
    const std::string name = displayName();
    const auto* rec = static_cast<const std::byte*>(record);
    Change c;
    if (!isOpen()) {
        c.rc = SQLITE_MISUSE;
        c.text = "файл не открыт";
    } else if (!realsAreNumbers(desc_, rec, c.text)) {
        c.rc = SQLITE_MISMATCH;
    } else {
        c.rc = beginWrite(*impl_);
        sqlite3_stmt* st = c.rc == SQLITE_OK ? impl_->prepare(impl_->updateSql, c.rc) : nullptr;
        if (st) {
            StmtUse use(st);
            int i = 1;
            for (const FieldDesc& f : desc_.fields) bindField(st, i++, f, rec);
            sqlite3_bind_int64(st, i, id);
            c.rc = sqlite3_step(st);
            if (c.rc == SQLITE_DONE) {
                c.rc = sqlite3_changes(impl_->db) == 1 ? SQLITE_OK : SQLITE_NOTFOUND;
                if (c.rc != SQLITE_OK) c.text = "запись не найдена";
            } else if (c.rc == SQLITE_CONSTRAINT_UNIQUE) {
                sqlite3_reset(st);
                c.duplicateKey = findDuplicate(*impl_, desc_, rec, id).duplicateKey;
            }
        }
        if (c.rc == SQLITE_OK) c.rc = commitWrite(*impl_);
        if (c.rc != SQLITE_OK) impl_->rollback();
    }
    if (c.rc == SQLITE_OK) {
        lastError_ = ErrorCode::None;
        lastErrorText_.clear();
        return true;
    }
    if (c.duplicateKey >= 0) {
        lastError_ = ErrorCode::Duplicate;
        lastErrorText_ = desc_.keys[static_cast<std::size_t>(c.duplicateKey)].description;
        errors_.report(ErrorKind::Notice, kDupTitle, fill(kDupText, name, {}, lastErrorText_),
                       status_);
        return false;
    }
    auto [code, text] = describe(c.rc, impl_->db);
    lastError_ = !isOpen()                   ? ErrorCode::NotOpen
                 : c.rc == SQLITE_NOTFOUND   ? ErrorCode::NotFound
                 : (c.rc == SQLITE_MISMATCH) ? ErrorCode::BadValue
                                             : code;
    lastErrorText_ = c.text.empty() ? text : c.text;
    errors_.report(ErrorKind::Notice, kPutTitle, fill(kPutText, name, lastErrorText_), status_);
    return false;
}

bool RecordFile::remove(RowId id) {
    const std::string name = displayName();
    int rc = SQLITE_MISUSE;
    std::string text = "файл не открыт";
    if (isOpen()) {
        text.clear();
        rc = beginWrite(*impl_);
        sqlite3_stmt* st = rc == SQLITE_OK ? impl_->prepare(impl_->deleteSql, rc) : nullptr;
        if (st) {
            StmtUse use(st);
            sqlite3_bind_int64(st, 1, id);
            rc = sqlite3_step(st);
            if (rc == SQLITE_DONE) {
                rc = sqlite3_changes(impl_->db) == 1 ? SQLITE_OK : SQLITE_NOTFOUND;
                if (rc != SQLITE_OK) text = "запись не найдена";
            }
        }
        if (rc == SQLITE_OK) rc = commitWrite(*impl_);
        if (rc != SQLITE_OK) impl_->rollback();
    }
    if (rc == SQLITE_OK) {
        lastError_ = ErrorCode::None;
        lastErrorText_.clear();
        return true;
    }
    auto [code, described] = describe(rc, impl_->db);
    lastError_ = !isOpen()               ? ErrorCode::NotOpen
                 : rc == SQLITE_NOTFOUND ? ErrorCode::NotFound
                                         : code;
    lastErrorText_ = text.empty() ? described : text;
    errors_.report(ErrorKind::Notice, kDelTitle, fill(kDelText, name, lastErrorText_), status_);
    return false;
}

// A read failed: a lock held past the recovery time, or anything else.
void RecordFile::readFailed(int rc, std::string text) {
    auto [code, described] = describe(rc, impl_->db);
    lastError_ = text.empty() ? code : ErrorCode::NotOpen;
    lastErrorText_ = text.empty() ? described : std::move(text);
    if (lastError_ == ErrorCode::Locked)
        errors_.report(ErrorKind::Notice, kHeldTitle, fill(kHeldText, displayName(), {}), status_);
    else
        errors_.report(ErrorKind::Notice, kReadTitle,
                       fill(kReadText, displayName(), lastErrorText_), status_);
}

Status RecordFile::fetch(int key, const void* keyRecord, void* out, RowId* id) {
    if (!isOpen()) {
        readFailed(SQLITE_MISUSE, "файл не открыт");
        return Status::Failed;
    }
    lastError_ = ErrorCode::None;
    lastErrorText_.clear();
    const auto* rec = static_cast<const std::byte*>(keyRecord);
    if (key < 0 || static_cast<std::size_t>(key) >= desc_.keys.size() || !inKey(desc_, key, rec)) {
        lastError_ = ErrorCode::NotFound;
        return Status::NotFound;
    }
    int rc;
    sqlite3_stmt* st = impl_->prepare(sql::fetchQuery(desc_, key), rc);
    if (!st) {
        readFailed(rc);
        return Status::Failed;
    }
    StmtUse use(st);
    bindField(st, 1, desc_.fields[desc_.keys[static_cast<std::size_t>(key)].field], rec);
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        decodeRow(st, 1, desc_, static_cast<std::byte*>(out));
        if (id) *id = sqlite3_column_int64(st, 0);
        return Status::Ok;
    }
    if (rc == SQLITE_DONE) {
        lastError_ = ErrorCode::NotFound;
        return Status::NotFound;
    }
    readFailed(rc);
    return Status::Failed;
}

Status RecordFile::get(RowId id, void* out) {
    if (!isOpen()) {
        readFailed(SQLITE_MISUSE, "файл не открыт");
        return Status::Failed;
    }
    lastError_ = ErrorCode::None;
    lastErrorText_.clear();
    int rc;
    sqlite3_stmt* st = impl_->prepare(impl_->getSql, rc);
    if (!st) {
        readFailed(rc);
        return Status::Failed;
    }
    StmtUse use(st);
    sqlite3_bind_int64(st, 1, id);
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        decodeRow(st, 1, desc_, static_cast<std::byte*>(out));
        return Status::Ok;
    }
    if (rc == SQLITE_DONE) {
        lastError_ = ErrorCode::NotFound;
        return Status::NotFound;
    }
    readFailed(rc);
    return Status::Failed;
}

std::int64_t RecordFile::count() {
    if (!isOpen()) {
        readFailed(SQLITE_MISUSE, "файл не открыт");
        return -1;
    }
    int rc;
    sqlite3_stmt* st = impl_->prepare(impl_->countSql, rc);
    if (st) {
        StmtUse use(st);
        rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            lastError_ = ErrorCode::None;
            lastErrorText_.clear();
            return sqlite3_column_int64(st, 0);
        }
    }
    readFailed(rc == SQLITE_DONE ? SQLITE_CORRUPT : rc);
    return -1;
}

bool RecordFile::read(const Order& order, const Position& from, Direction direction, std::size_t n,
                      std::vector<Row>& out, const RecordFilter& filter) {
    if (!isOpen()) {
        readFailed(SQLITE_MISUSE, "файл не открыт");
        return false;
    }
    lastError_ = ErrorCode::None;
    lastErrorText_.clear();
    if (n == 0) return true;
    Order o = order;
    if (o.key >= static_cast<int>(desc_.keys.size())) o.key = -1;
    const auto& positioned = from.record();
    if ((from.kind() == Position::Kind::AtKey || from.kind() == Position::Kind::Before ||
         from.kind() == Position::Kind::After) &&
        positioned.size() < desc_.recordSize) {
        readFailed(SQLITE_MISUSE, "неверная позиция");
        return false;
    }
    if (const TextFilter* text = filter.target<TextFilter>(); text && &text->desc() == &desc_)
        return readText(o, from, direction, n, out, *text);
    std::size_t got = 0;
    for (const sql::SeekQuery& q : sql::seekQueries(desc_, o, from.kind(), direction)) {
        int rc;
        sqlite3_stmt* st = impl_->prepare(q.sql, rc);
        if (!st) {
            readFailed(rc);
            return false;
        }
        StmtUse use(st);
        bindPosition(st, 1, desc_, q, from);
        while (got < n) {
            rc = sqlite3_step(st);
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) {
                readFailed(rc);
                return false;
            }
            decodeRow(st, 1, desc_, impl_->scratch.data());
            if (filter && !filter(impl_->scratch.data())) continue;
            out.push_back(Row{sqlite3_column_int64(st, 0), impl_->scratch});
            ++got;
        }
        if (got == n) break;
    }
    return true;
}

// A read whose test the store runs itself. It first follows the order's index, testing each
// record inside the query and decoding only those that pass; when that has looked at
// kIndexProbe records without finding enough, the passing records are rare, and seeking each
// record through the index (a random visit of the table) would cost more than one pass through
// the table in storage order: the rest is read by such a pass, sorted.
bool RecordFile::readText(const Order& order, const Position& from, Direction direction,
                          std::size_t n, std::vector<Row>& out, const TextFilter& filter) {
    constexpr std::size_t kIndexProbe = 4096;
    const auto& conds = filter.conditions();
    std::vector<std::size_t> fields;
    for (const TextCondition& c : conds) fields.push_back(c.field);
    const int k = static_cast<int>(conds.size());
    const std::string test = sql::containsCondition(desc_, fields, 1);
    const std::vector<std::size_t> sorted = sql::sortFields(desc_, order.key);
    std::string columns = "(" + test + "), " + sql::quote(sql::kRowColumn);
    for (std::size_t f : sorted) columns += ", " + sql::quote(desc_.fields[f].name);

    // Prepares a seek from `at`: the fragments first, then the position. Returns null (the
    // failure recorded) when the store cannot prepare it; `next` is the next free parameter.
    auto prepareSeek = [&](const sql::SeekQuery& q, const Position& at,
                           int& next) -> sqlite3_stmt* {
        int rc;
        sqlite3_stmt* st = impl_->prepare(q.sql, rc);
        if (!st) {
            readFailed(rc);
            return nullptr;
        }
        for (int i = 0; i < k; ++i) {
            const std::string& frag = conds[static_cast<std::size_t>(i)].fragment;
            sqlite3_bind_blob(st, i + 1, frag.data(), static_cast<int>(frag.size()), SQLITE_STATIC);
        }
        next = bindPosition(st, k + 1, desc_, q, at);
        return st;
    };

    std::size_t got = 0, looked = 0;
    RowId lastId = 0;
    std::vector<std::byte> lastKey(desc_.recordSize);
    bool probing = true;
    for (const sql::SeekQuery& q :
         sql::seekQueries(desc_, order, from.kind(), direction, columns)) {
        int next;
        sqlite3_stmt* st = prepareSeek(q, from, next);
        if (!st) return false;
        StmtUse use(st);
        while (got < n) {
            // File order is storage order already: nothing to gain from a pass.
            if (order.key >= 0 && looked == kIndexProbe) {
                probing = false;
                break;
            }
            const int rc = sqlite3_step(st);
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) {
                readFailed(rc);
                return false;
            }
            ++looked;
            lastId = sqlite3_column_int64(st, 1);
            for (std::size_t c = 0; c < sorted.size(); ++c)
                decodeField(st, static_cast<int>(c) + 2, desc_.fields[sorted[c]], lastKey.data());
            if (sqlite3_column_int(st, 0) == 0) continue;
            const Status s = get(lastId, impl_->scratch.data());
            if (s == Status::Failed) return false;
            if (s == Status::NotFound) continue;
            out.push_back(Row{lastId, impl_->scratch});
            ++got;
        }
        if (got == n || !probing) break;
    }
    if (probing || got == n) return true;

    const Position beyond = direction == Direction::Forward ? Position::after(lastId, lastKey)
                                                            : Position::before(lastId, lastKey);
    const sql::SeekQuery q = sql::scanQuery(desc_, order, beyond.kind(), direction, test, k);
    int next;
    sqlite3_stmt* st = prepareSeek(q, beyond, next);
    if (!st) return false;
    StmtUse use(st);
    sqlite3_bind_int64(st, next, static_cast<sqlite3_int64>(n - got));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        decodeRow(st, 1, desc_, impl_->scratch.data());
        out.push_back(Row{sqlite3_column_int64(st, 0), impl_->scratch});
    }
    if (rc != SQLITE_DONE) {
        readFailed(rc);
        return false;
    }
    return true;
}

}  // namespace pordex::files
