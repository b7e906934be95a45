#include "platform/files/record_file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "data/file_layouts.h"
#include "files/error_recorder.h"
#include "platform/files/record_sql.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

using files::Direction;
using files::ErrorKind;
using files::Order;
using files::Position;
using files::RecordFile;
using files::Row;
using files::RowId;
using files::Status;

template <class R>
std::span<const std::byte> bytesOf(const R& r) {
    return {reinterpret_cast<const std::byte*>(&r), sizeof(R)};
}

template <class R>
R recordOf(const Row& row) {
    R r;
    EXPECT_EQ(row.bytes.size(), sizeof(R));
    std::memcpy(static_cast<void*>(&r), row.bytes.data(), sizeof(R));
    return r;
}

std::vector<Row> readAll(RecordFile& f, Order order, Direction dir = Direction::Forward,
                         const files::RecordFilter& filter = {}) {
    std::vector<Row> rows;
    EXPECT_TRUE(f.read(order, dir == Direction::Forward ? Position::first() : Position::last(), dir,
                       1u << 30, rows, filter));
    return rows;
}

std::vector<std::string> fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>())};
}

// A raw connection to a record file, as another program would hold it.
struct RawDb {
    sqlite3* db = nullptr;
    explicit RawDb(const std::string& path) {
        EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        files::sql::registerCollations(db);
        sqlite3_busy_timeout(db, 10000);
    }
    ~RawDb() { sqlite3_close(db); }
    int exec(const std::string& s) {
        return sqlite3_exec(db, s.c_str(), nullptr, nullptr, nullptr);
    }
    std::string text(const std::string& s) {
        sqlite3_stmt* st = nullptr;
        std::string out;
        if (sqlite3_prepare_v2(db, s.c_str(), -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        return out;
    }
};

class RecordFileTest : public ::testing::Test {
  protected:
    test::TempWorkdir dir;
    test::ErrorRecorder errors;
};

// ---- bytes in, bytes out ------------------------------------------------------------------

// Fills a record of any layout: every text byte position takes all 256 values over 256
// records; numbers take arbitrary bit patterns; unique keys get distinct values.
std::vector<std::byte> patternRecord(const files::FileDesc& d, int r, std::mt19937& rng) {
    std::vector<std::byte> rec(d.recordSize);
    static const double reals[] = {0.0, 0.01, -1.5, 123456789.12, 1e308, -4.9e-324, 1e-10};
    for (std::size_t fi = 0; fi < d.fields.size(); ++fi) {
        const auto& f = d.fields[fi];
        std::byte* p = rec.data() + f.offset;
        bool uniqueKey = false;
        for (const auto& k : d.keys) uniqueKey |= k.unique && k.field == fi;
        if (f.type == files::FieldType::String) {
            for (std::size_t j = 0; j < f.width; ++j)
                p[j] = static_cast<std::byte>((r + 7 * j + fi) % 256);
        } else if (f.type == files::FieldType::Real) {
            const double v = reals[(r + fi) % std::size(reals)];
            std::memcpy(p, &v, 8);
        } else if (uniqueKey) {
            const std::uint32_t v = static_cast<std::uint32_t>(r + 1);
            std::memcpy(p, &v, f.width);  // little-endian host, as the layouts are
        } else {
            for (std::size_t j = 0; j < f.width; ++j) p[j] = static_cast<std::byte>(rng());
        }
    }
    return rec;
}

TEST_F(RecordFileTest, EveryLayoutKeepsEveryByte) {
    std::mt19937 rng(42);
    for (const files::FileDesc* d : {&prpFile(), &bikFile(), &polFile(), &mcoFile(), &kszFile(),
                                     &knnFile(), &kbpFile(), &bl2File(), &rewFile()}) {
        SCOPED_TRACE(std::string(d->label));
        RecordFile f(*d);
        ASSERT_TRUE(f.open());
        std::vector<std::byte> all;
        for (int r = 0; r < 256; ++r) {
            auto rec = patternRecord(*d, r, rng);
            all.insert(all.end(), rec.begin(), rec.end());
        }
        ASSERT_TRUE(f.insertAll(all.data(), 256));
        f.close();
        ASSERT_TRUE(f.open());
        const auto rows = readAll(f, Order::file());
        ASSERT_EQ(rows.size(), 256u);
        for (int r = 0; r < 256; ++r) {
            const std::byte* want = all.data() + r * d->recordSize;
            ASSERT_EQ(std::memcmp(rows[r].bytes.data(), want, d->recordSize), 0) << "record " << r;
            std::vector<std::byte> got(d->recordSize);
            ASSERT_EQ(f.get(rows[r].id, got.data()), Status::Ok);
            ASSERT_EQ(std::memcmp(got.data(), want, d->recordSize), 0);
        }
        EXPECT_EQ(f.count(), 256);
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(RecordFileTest, TextIsStoredAsUtf8WithoutTrailingBlanksAndCheckedByTheSchema) {
    RecordFile f(kbpFile());
    ASSERT_TRUE(f.open());
    KbpRecord k;
    k.NOMER = 3;
    k.N_PLA = "  ООО «Ромашка» №5";
    ASSERT_TRUE(f.insert(&k));
    f.close();

    RawDb raw("DATA/Kbp.dat");
    EXPECT_EQ(raw.text("SELECT N_PLA FROM KBP"), "  ООО «Ромашка» №5");
    EXPECT_EQ(raw.text("SELECT typeof(NOMER) FROM KBP"), "integer");
    // What another program might try to write is kept inside the field's type and width.
    const std::string cols = "(NOMER, N_PLA, INN_PLA, N_SC_A, MFO_A, K_SC_A, N_BANK, KPP, OKATO)";
    EXPECT_NE(raw.exec("INSERT INTO KBP " + cols + " VALUES (40000,'','','','','','','','')"),
              SQLITE_OK);
    EXPECT_NE(
        raw.exec("INSERT INTO KBP " + cols + " VALUES (7,'','1234567890123','','','','','','')"),
        SQLITE_OK);
    EXPECT_NE(raw.exec("INSERT INTO KBP " + cols + " VALUES ('x','','','','','','','','')"),
              SQLITE_OK);
    EXPECT_EQ(raw.exec("INSERT INTO KBP " + cols + " VALUES (8,'','','','','','','','')"),
              SQLITE_OK);
}

TEST_F(RecordFileTest, AnAmountThatIsNotANumberIsRefused) {
    RecordFile f(rewFile());
    ASSERT_TRUE(f.open());
    RewRecord r;
    r.SUMMA = std::nan("");
    EXPECT_FALSE(f.insert(&r));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].title, "Ошибка добавления записи");
    EXPECT_EQ(errors.reports()[0].text,
              "Возникла ошибка при создании записи. Ошибка: поле SUMMA не содержит числа.");
    EXPECT_EQ(f.count(), 0);
}

// ---- keys ---------------------------------------------------------------------------------

TEST_F(RecordFileTest, UniqueKeyRefusesASecondValueWithTheSystemsMessage) {
    RecordFile f(kbpFile());
    ASSERT_TRUE(f.open());
    KbpRecord a, b;
    a.NOMER = 1;
    a.N_PLA = "Первый";
    b.NOMER = 2;
    RowId idB = 0;
    ASSERT_TRUE(f.insert(&a));
    ASSERT_TRUE(f.insert(&b, &idB));
    KbpRecord dup = a;
    dup.N_PLA = "Второй с тем же номером";
    EXPECT_FALSE(f.insert(&dup));
    EXPECT_EQ(f.lastError(), files::ErrorCode::Duplicate);
    // Changing another record to a number already used is refused the same way.
    b.NOMER = 1;
    EXPECT_FALSE(f.update(idB, &b));

    const auto reports = errors.reports();
    ASSERT_EQ(reports.size(), 2u);
    for (const auto& r : reports) {
        EXPECT_EQ(r.kind, ErrorKind::Notice);
        EXPECT_EQ(r.title, "Ошибка дублирования в ключе");
        EXPECT_EQ(r.text, "Добавление этой записи создает дублирование для ключа: Kbp:KEY_1");
    }
    EXPECT_EQ(f.count(), 2);
    KbpRecord key, out;
    key.NOMER = 1;
    ASSERT_EQ(f.fetch(0, &key, &out), Status::Ok);
    EXPECT_TRUE(out.N_PLA.equalsUtf8("Первый"));
    key.NOMER = 2;
    EXPECT_EQ(f.fetch(0, &key, &out), Status::Ok);
}

TEST_F(RecordFileTest, ZeroAndBlankValuesAreStoredButOutsideTheirKey) {
    RecordFile kbp(kbpFile());
    ASSERT_TRUE(kbp.open());
    KbpRecord k;
    for (SHORT n : {0, 5, 0, 2}) {
        k.NOMER = n;
        ASSERT_TRUE(kbp.insert(&k)) << n;  // two zeros never collide
    }
    EXPECT_EQ(kbp.count(), 4);
    EXPECT_EQ(readAll(kbp, Order::file()).size(), 4u);
    std::vector<SHORT> keyed;
    for (const Row& r : readAll(kbp, Order::byKey(0)))
        keyed.push_back(SHORT{recordOf<KbpRecord>(r).NOMER});
    EXPECT_EQ(keyed, (std::vector<SHORT>{2, 5}));
    KbpRecord out;
    k.NOMER = 0;
    EXPECT_EQ(kbp.fetch(0, &k, &out), Status::NotFound);

    RecordFile ksz(kszFile());
    ASSERT_TRUE(ksz.open());
    KszRecord z;
    z.KS = "";
    ASSERT_TRUE(ksz.insert(&z));
    z.KS = "30101810400000000225";
    ASSERT_TRUE(ksz.insert(&z));
    EXPECT_EQ(readAll(ksz, Order::byKey(0)).size(), 1u);
    EXPECT_EQ(readAll(ksz, Order::file()).size(), 2u);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(RecordFileTest, NocaseKeysFoldLatinAndCyrillic) {
    RecordFile f(kszFile());
    ASSERT_TRUE(f.open());
    for (const char* ks : {"abc", "СЧЕТА", "ABD", "Abb", "счет", "abc"}) {
        KszRecord z;
        z.KS = ks;
        ASSERT_TRUE(f.insert(&z)) << ks;  // duplicates allowed
    }
    std::vector<std::string> order;
    for (const Row& r : readAll(f, Order::byKey(0)))
        order.push_back(recordOf<KszRecord>(r).KS.utf8());
    EXPECT_EQ(order, (std::vector<std::string>{"Abb", "abc", "abc", "ABD", "счет", "СЧЕТА"}));

    KszRecord key, out;
    key.KS = "ABC";
    ASSERT_EQ(f.fetch(0, &key, &out), Status::Ok);
    EXPECT_EQ(out.KS.utf8(), "abc");
    key.KS = "СЧЕТ";
    ASSERT_EQ(f.fetch(0, &key, &out), Status::Ok);
    EXPECT_EQ(out.KS.utf8(), "счет");
    key.KS = "сч";
    EXPECT_EQ(f.fetch(0, &key, &out), Status::NotFound);
}

// A file with a unique text key, to show that NOCASE also governs uniqueness.
struct NameRecord {
    Str<20> NAME;
};
constexpr files::FieldDesc nameFields[] = {PORDEX_FIELD(NameRecord, NAME)};
constexpr files::KeyDesc nameKeys[] = {{"KEY_1", "Nam:KEY_1", 0, true, true, true}};
const files::FileDesc nameFile{"NAM", "DATA/Nam.dat", sizeof(NameRecord), nameFields, nameKeys};

TEST_F(RecordFileTest, NocaseUniqueKeyRefusesTheSameNameInOtherCase) {
    RecordFile f(nameFile);
    ASSERT_TRUE(f.open());
    NameRecord n;
    n.NAME = "Ромашка";
    ASSERT_TRUE(f.insert(&n));
    n.NAME = "РОМАШКА";
    EXPECT_FALSE(f.insert(&n));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].text,
              "Добавление этой записи создает дублирование для ключа: Nam:KEY_1");
    n.NAME = "Ромашка 2";
    EXPECT_TRUE(f.insert(&n));
}

TEST_F(RecordFileTest, FileOrderIsTheOrderOfAddingAlsoAfterDeletes) {
    RecordFile f(kbpFile());
    ASSERT_TRUE(f.open());
    std::vector<RowId> ids;
    for (SHORT n = 1; n <= 5; ++n) {
        KbpRecord k;
        k.NOMER = static_cast<SHORT>(10 - n);
        RowId id;
        ASSERT_TRUE(f.insert(&k, &id));
        ids.push_back(id);
    }
    ASSERT_TRUE(f.remove(ids[1]));
    ASSERT_TRUE(f.remove(ids[4]));  // the last one: its place must not be taken again
    KbpRecord k;
    k.NOMER = 20;
    ASSERT_TRUE(f.insert(&k));
    std::vector<SHORT> order;
    for (const Row& r : readAll(f, Order::file()))
        order.push_back(SHORT{recordOf<KbpRecord>(r).NOMER});
    EXPECT_EQ(order, (std::vector<SHORT>{9, 7, 6, 20}));
    EXPECT_EQ(f.count(), 4);
    // A record deleted meanwhile cannot be deleted or changed again; the user is told.
    EXPECT_FALSE(f.remove(ids[1]));
    EXPECT_FALSE(f.update(ids[1], &k));
    EXPECT_EQ(errors.titles(),
              (std::vector<std::string>{"Запись не удаляется", "Запись не обновляется"}));
    EXPECT_EQ(errors.reports()[0].text,
              "Возникла ошибка (запись не найдена) при удалении записи из DATA/Kbp.dat файла.");
    EXPECT_EQ(errors.reports()[1].text,
              "Возникла ошибка (запись не найдена) при внесении изменений в файл DATA/Kbp.dat.");
}

// ---- ordered reading ------------------------------------------------------------------------

// Orders REW as the journal's key does: DDD ascending without 0, N_DOK descending (Windows-1251
// bytes, blank padded), then file order.
struct JournalModel {
    std::vector<std::pair<RowId, RewRecord>> all;  // file order

    std::vector<std::pair<RowId, RewRecord>> keyOrder() const {
        std::vector<std::pair<RowId, RewRecord>> k;
        for (const auto& e : all)
            if (e.second.DDD != 0) k.push_back(e);
        std::stable_sort(k.begin(), k.end(), [](const auto& a, const auto& b) {
            if (a.second.DDD != b.second.DDD) return a.second.DDD < b.second.DDD;
            const int c = std::memcmp(a.second.N_DOK.bytes, b.second.N_DOK.bytes, 5);
            if (c != 0) return c > 0;
            return a.first < b.first;
        });
        return k;
    }
};

std::vector<RowId> ids(const std::vector<Row>& rows) {
    std::vector<RowId> v;
    for (const Row& r : rows) v.push_back(r.id);
    return v;
}

std::vector<RowId> ids(const std::vector<std::pair<RowId, RewRecord>>& rows, std::size_t from,
                       std::size_t n, bool backward) {
    std::vector<RowId> v;
    for (std::size_t i = 0; i < n; ++i) {
        if (backward) {
            if (from < i + 1) break;
            v.push_back(rows[from - 1 - i].first);
        } else {
            if (from + i >= rows.size()) break;
            v.push_back(rows[from + i].first);
        }
    }
    return v;
}

class OrderedReading : public RecordFileTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.open());
        std::mt19937 rng(7);
        const char* numbers[] = {"1", "2", "10", "9", "А1", "", "1", "Я"};
        std::vector<RewRecord> recs(600);
        for (auto& r : recs) {
            r.DDD = static_cast<LONG>(rng() % 24) - 3;  // zeros and negatives among them
            r.N_DOK = numbers[rng() % std::size(numbers)];
            r.SUMMA = rng() % 1000;
        }
        RowId last = 0;
        ASSERT_TRUE(file.insertAll(recs.data(), recs.size(), nullptr, &last));
        for (std::size_t i = 0; i < recs.size(); ++i)
            model.all.emplace_back(last - static_cast<RowId>(recs.size() - 1 - i), recs[i]);
        keyed = model.keyOrder();
    }

    std::vector<Row> page(Order o, const Position& p, Direction d, std::size_t n,
                          const files::RecordFilter& filter = {}) {
        std::vector<Row> rows;
        EXPECT_TRUE(file.read(o, p, d, n, rows, filter));
        return rows;
    }

    RecordFile file{rewFile()};
    JournalModel model;
    std::vector<std::pair<RowId, RewRecord>> keyed;
};

TEST_F(OrderedReading, PagingThroughTheWholeKeyEitherWayMatchesTheModel) {
    for (Direction d : {Direction::Forward, Direction::Backward}) {
        const bool back = d == Direction::Backward;
        std::vector<RowId> seen;
        Position p = back ? Position::last() : Position::first();
        for (;;) {
            auto rows = page(Order::byKey(0), p, d, 7);
            for (const Row& r : rows) seen.push_back(r.id);
            if (rows.size() < 7) break;
            p = back ? Position::before(rows.back().id, rows.back().bytes)
                     : Position::after(rows.back().id, rows.back().bytes);
        }
        EXPECT_EQ(seen, ids(keyed, back ? keyed.size() : 0, keyed.size(), back));
    }
}

TEST_F(OrderedReading, ReadsFromAnyPlaceInEitherDirection) {
    for (std::size_t i : {std::size_t{0}, std::size_t{1}, keyed.size() / 2, keyed.size() - 1}) {
        SCOPED_TRACE(i);
        const auto& [id, rec] = keyed[i];
        const Position before = Position::before(id, bytesOf(rec));
        const Position after = Position::after(id, bytesOf(rec));
        const Order key = Order::byKey(0);
        EXPECT_EQ(ids(page(key, before, Direction::Forward, 9)), ids(keyed, i, 9, false));
        EXPECT_EQ(ids(page(key, after, Direction::Forward, 9)), ids(keyed, i + 1, 9, false));
        EXPECT_EQ(ids(page(key, before, Direction::Backward, 9)), ids(keyed, i, 9, true));
        EXPECT_EQ(ids(page(key, after, Direction::Backward, 9)), ids(keyed, i + 1, 9, true));
    }
}

TEST_F(OrderedReading, LocatorStartsAtTheFirstRecordWithAKeyAtOrAfterTheValue) {
    for (LONG v : {-5, -1, 1, 7, 20, 21}) {
        SCOPED_TRACE(v);
        RewRecord probe;
        probe.DDD = v;
        std::size_t at = 0;
        while (at < keyed.size() && keyed[at].second.DDD < v) ++at;
        const Position p = Position::atKey(bytesOf(probe));
        EXPECT_EQ(ids(page(Order::byKey(0), p, Direction::Forward, 5)), ids(keyed, at, 5, false));
        EXPECT_EQ(ids(page(Order::byKey(0), p, Direction::Backward, 5)), ids(keyed, at, 5, true));
    }
}

TEST_F(OrderedReading, FileOrderAndPositionsOfDeletedRecords) {
    const auto& all = model.all;
    EXPECT_EQ(ids(page(Order::file(), Position::first(), Direction::Forward, 1000)),
              ids(all, 0, all.size(), false));
    const auto& [id, rec] = all[100];
    EXPECT_EQ(ids(page(Order::file(), Position::after(id, bytesOf(rec)), Direction::Backward, 3)),
              ids(all, 101, 3, true));
    // A list keeps its place when the record it stands on is deleted by someone else.
    const std::size_t k = keyed.size() / 3;
    ASSERT_TRUE(file.remove(keyed[k].first));
    EXPECT_EQ(ids(page(Order::byKey(0), Position::after(keyed[k].first, bytesOf(keyed[k].second)),
                       Direction::Forward, 4)),
              ids(keyed, k + 1, 4, false));
    EXPECT_EQ(ids(page(Order::byKey(0), Position::after(keyed[k].first, bytesOf(keyed[k].second)),
                       Direction::Backward, 4)),
              ids(keyed, k, 4, true));
}

TEST_F(OrderedReading, FilterRunsInsideTheReadAndPagesStayFull) {
    auto isOne = [](const std::byte* rec) {
        RewRecord r;
        std::memcpy(static_cast<void*>(&r), rec, sizeof r);
        return r.N_DOK.equalsUtf8("1");
    };
    std::vector<std::pair<RowId, RewRecord>> wanted;
    for (const auto& e : keyed)
        if (e.second.N_DOK.equalsUtf8("1")) wanted.push_back(e);
    ASSERT_GT(wanted.size(), 20u);
    auto first = page(Order::byKey(0), Position::first(), Direction::Forward, 10, isOne);
    EXPECT_EQ(ids(first), ids(wanted, 0, 10, false));
    auto next = page(Order::byKey(0), Position::after(first.back().id, first.back().bytes),
                     Direction::Forward, 10, isOne);
    EXPECT_EQ(ids(next), ids(wanted, 10, 10, false));
    auto last = page(Order::byKey(0), Position::last(), Direction::Backward, 10, isOne);
    EXPECT_EQ(ids(last), ids(wanted, wanted.size(), 10, true));
}

// Every read seeks through an index and none sorts: the cost of a page does not depend on the
// size of the file.
TEST_F(RecordFileTest, EveryReadUsesTheIndexAndNeverSorts) {
    for (const files::FileDesc* d : {&prpFile(), &bikFile(), &polFile(), &mcoFile(), &kszFile(),
                                     &knnFile(), &kbpFile(), &bl2File(), &rewFile(), &nameFile}) {
        RecordFile f(*d);
        ASSERT_TRUE(f.open());
        f.close();
        RawDb raw(std::string(d->path));
        auto plan = [&](const std::string& q) {
            std::string lines;
            sqlite3_stmt* st = nullptr;
            EXPECT_EQ(
                sqlite3_prepare_v2(raw.db, ("EXPLAIN QUERY PLAN " + q).c_str(), -1, &st, nullptr),
                SQLITE_OK)
                << q;
            while (sqlite3_step(st) == SQLITE_ROW)
                lines +=
                    std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))) + "\n";
            sqlite3_finalize(st);
            return lines;
        };
        for (int key = -1; key < static_cast<int>(d->keys.size()); ++key) {
            for (auto kind : {Position::Kind::First, Position::Kind::Last, Position::Kind::AtKey,
                              Position::Kind::Before, Position::Kind::After}) {
                for (auto dir : {Direction::Forward, Direction::Backward}) {
                    for (const auto& q : files::sql::seekQueries(*d, Order{key}, kind, dir)) {
                        const std::string p = plan(q.sql);
                        SCOPED_TRACE(q.sql + "\n" + p);
                        EXPECT_EQ(p.find("TEMP B-TREE"), std::string::npos);
                        if (key >= 0) {
                            const std::string index = "INDEX " + files::sql::indexName(*d, key);
                            EXPECT_TRUE(p.find(index + " ") != std::string::npos ||
                                        p.find(index + "\n") != std::string::npos);
                        }
                        const bool positioned =
                            kind != Position::Kind::First && kind != Position::Kind::Last;
                        if (positioned && (key >= 0 || kind != Position::Kind::AtKey)) {
                            EXPECT_EQ(p.rfind("SEARCH", 0), 0u);
                        }
                    }
                }
            }
            if (key >= 0) {
                for (const auto& q :
                     {files::sql::fetchQuery(*d, key), files::sql::duplicateQuery(*d, key)}) {
                    const std::string p = plan(q);
                    EXPECT_EQ(p.rfind("SEARCH", 0), 0u) << q << "\n" << p;
                    EXPECT_EQ(p.find("TEMP B-TREE"), std::string::npos) << q << "\n" << p;
                }
            }
        }
    }
}

// ---- opening ------------------------------------------------------------------------------

TEST_F(RecordFileTest, MissingFilesAndFolderAreCreatedEmpty) {
    std::filesystem::remove_all(dir.data());
    RecordFile rew(rewFile()), prp(prpFile());
    ASSERT_TRUE(rew.open());
    ASSERT_TRUE(prp.open());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "DATA" / "Rew.dat"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "PRP"));
    EXPECT_EQ(rew.count(), 0);
    EXPECT_EQ(prp.count(), 0);
    EXPECT_FALSE(rew.readOnly());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(RecordFileTest, AFileThatCannotBeCreatedEndsTheProgram) {
    std::filesystem::remove_all(dir.data());
    std::ofstream(dir.data()) << "not a folder";
    RecordFile f(rewFile());
    EXPECT_FALSE(f.open());
    EXPECT_FALSE(f.isOpen());
    ASSERT_EQ(errors.reports().size(), 1u);
    const auto r = errors.reports()[0];
    EXPECT_EQ(r.kind, ErrorKind::Fatal);
    EXPECT_EQ(r.title, "Ошибка создания файла");
    EXPECT_EQ(r.text, "Ошибка: (" + f.lastErrorText() +
                          ") создания DATA/Rew.dat.  Press OK to end this application");
    EXPECT_EQ(errors.ends(), 1);
}

TEST_F(RecordFileTest, GarbageOrForeignFileIsReportedAndLeftUntouched) {
    std::string garbage(5000, '\0');
    std::mt19937 rng(3);
    for (char& c : garbage) c = static_cast<char>(rng());
    {
        sqlite3* db;
        sqlite3_open("DATA/foreign.db", &db);
        sqlite3_exec(db, "CREATE TABLE REW (x); INSERT INTO REW VALUES (1)", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    std::ifstream in("DATA/foreign.db", std::ios::binary);
    const std::string foreign((std::istreambuf_iterator<char>(in)), {});
    for (const std::string& content : {garbage, std::string("hello"), foreign}) {
        errors.clear();
        std::ofstream("DATA/Rew.dat", std::ios::binary | std::ios::trunc) << content;
        RecordFile f(rewFile());
        EXPECT_FALSE(f.open());
        ASSERT_EQ(errors.reports().size(), 1u);
        const auto r = errors.reports()[0];
        EXPECT_EQ(r.kind, ErrorKind::Fatal);
        EXPECT_EQ(r.title, "Ошибка доступа к файлу");
        EXPECT_EQ(r.text, "Файл DATA/Rew.dat не может быть открыт.  Ошибка: " + f.lastErrorText() +
                              ".  Press OK to end this application");
        EXPECT_EQ(errors.ends(), 1);
        EXPECT_EQ(fileBytes("DATA/Rew.dat")[0], content);
        for (const char* side : {"DATA/Rew.dat-journal", "DATA/Rew.dat-wal"})
            EXPECT_FALSE(std::filesystem::exists(side));
    }
}

TEST_F(RecordFileTest, AnEmptyFileBecomesAnEmptyRecordFile) {
    std::ofstream("DATA/Bl2.dat").close();
    RecordFile f(bl2File());
    ASSERT_TRUE(f.open());
    Bl2Record b;
    b.BS2 = 40702;
    EXPECT_TRUE(f.insert(&b));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(RecordFileTest, DroppedOrChangedKeysAreRebuiltWithANotice) {
    const std::vector<std::string> damage = {
        "DROP INDEX KBP_KEY_1",
        "DROP INDEX KBP_KEY_1; CREATE INDEX KBP_KEY_1 ON KBP (NOMER)",  // no longer unique
        "CREATE INDEX extra ON KBP (N_PLA)",
        "DROP TRIGGER _count_insert; INSERT INTO KBP (NOMER, N_PLA, INN_PLA, N_SC_A, MFO_A, "
        "K_SC_A, N_BANK, KPP, OKATO) VALUES (9, '', '', '', '', '', '', '', '')",
    };
    for (const std::string& sqlDamage : damage) {
        SCOPED_TRACE(sqlDamage);
        std::filesystem::remove("DATA/Kbp.dat");
        errors.clear();
        {
            RecordFile f(kbpFile());
            ASSERT_TRUE(f.open());
            KbpRecord k;
            k.NOMER = 1;
            ASSERT_TRUE(f.insert(&k));
        }
        {
            RawDb raw("DATA/Kbp.dat");
            ASSERT_EQ(raw.exec(sqlDamage), SQLITE_OK);
        }
        RecordFile f(kbpFile());
        ASSERT_TRUE(f.open());
        ASSERT_EQ(errors.reports().size(), 1u);
        EXPECT_EQ(errors.reports()[0].kind, ErrorKind::Notice);
        EXPECT_EQ(errors.reports()[0].title, "Неверный ключ");
        EXPECT_EQ(errors.reports()[0].text,
                  "Файл DATA/Kbp.dat - ключ испорчен. Ключ необходимо перестроить.");
        // The rebuilt key works: it refuses a duplicate and counts what is there.
        KbpRecord k;
        k.NOMER = 1;
        EXPECT_FALSE(f.insert(&k));
        EXPECT_EQ(f.count(), static_cast<std::int64_t>(readAll(f, Order::file()).size()));
        f.close();
        errors.clear();
        ASSERT_TRUE(f.open());
        EXPECT_TRUE(errors.reports().empty());  // once rebuilt, it stays so
    }
}

TEST_F(RecordFileTest, KeyThatCannotBeRebuiltEndsTheProgram) {
    {
        RecordFile f(kbpFile());
        ASSERT_TRUE(f.open());
        KbpRecord k;
        k.NOMER = 1;
        ASSERT_TRUE(f.insert(&k));
    }
    {
        RawDb raw("DATA/Kbp.dat");
        ASSERT_EQ(raw.exec("DROP INDEX KBP_KEY_1; INSERT INTO KBP SELECT NULL, NOMER, N_PLA, "
                           "INN_PLA, N_SC_A, MFO_A, K_SC_A, N_BANK, KPP, OKATO FROM KBP"),
                  SQLITE_OK);
    }
    RecordFile f(kbpFile());
    EXPECT_FALSE(f.open());
    EXPECT_EQ(errors.titles(), (std::vector<std::string>{"Неверный ключ", "Ключ не построен"}));
    EXPECT_EQ(errors.reports()[1].kind, ErrorKind::Fatal);
    EXPECT_EQ(errors.reports()[1].text,
              "Ошибка: (в ключе повторяются значения) восстановления ключа для DATA/Kbp.dat.  "
              "Press OK to end this application");
    EXPECT_EQ(errors.ends(), 1);
    RawDb raw("DATA/Kbp.dat");
    EXPECT_EQ(raw.text("SELECT count(*) FROM KBP"), "2");  // nothing lost
}

// Opens a read-only Rew.dat; as root the check runs in a child that drops to "nobody", since
// file modes do not bind root.
TEST_F(RecordFileTest, AFileThatCannotBeWrittenOpensReadOnlyWithANotice) {
    {
        RecordFile f(rewFile());
        ASSERT_TRUE(f.open());
        RewRecord r;
        r.DDD = 5;
        ASSERT_TRUE(f.insert(&r));
    }
    ASSERT_EQ(chmod("DATA/Rew.dat", 0444), 0);
    auto check = [&]() -> int {
        RecordFile f(rewFile());
        if (!f.open()) return 10;
        if (!f.readOnly()) return 11;
        if (errors.reports().size() != 1) return 12;
        const auto r = errors.reports()[0];
        if (r.kind != ErrorKind::Notice || r.title != "Доступ запрещен" ||
            r.text !=
                "Невозможно производить запись в файл DATA/Rew.dat поэтому "
                "осуществляется только чтение.")
            return 13;
        if (f.count() != 1 || readAll(f, Order::byKey(0)).size() != 1) return 14;
        RewRecord r2;
        if (f.insert(&r2)) return 15;
        if (errors.reports().size() != 2 || errors.reports()[1].title != "Ошибка добавления записи")
            return 16;
        return 0;
    };
    if (geteuid() != 0) {
        EXPECT_EQ(check(), 0);
        return;
    }
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(dir.data().c_str(), 0755), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(20);
        const int rc = check();
        for (const auto& r : errors.reports())
            std::fprintf(stderr, "%s: %s\n", r.title.c_str(), r.text.c_str());
        _exit(rc);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// ---- sharing ------------------------------------------------------------------------------

TEST_F(RecordFileTest, TwoThreadsAndTwoProcessesAddingToOneFileLoseNothing) {
    constexpr int kEach = 100;
    auto add = [](int base) {
        RecordFile f(bl2File());
        if (!f.open()) return false;
        for (int i = 0; i < kEach; ++i) {
            Bl2Record b;
            b.BS2 = base + i;
            if (!f.insert(&b)) return false;
        }
        return true;
    };
    {
        RecordFile f(bl2File());
        ASSERT_TRUE(f.open());  // created once, before the race
    }
    std::vector<pid_t> children;
    for (int p = 0; p < 2; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) _exit(add(100000 * (p + 1)) ? 0 : 1);
        children.push_back(pid);
    }
    bool a = false, b = false;
    std::thread t1([&] { a = add(1000); });
    std::thread t2([&] { b = add(5000); });
    t1.join();
    t2.join();
    EXPECT_TRUE(a);
    EXPECT_TRUE(b);
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RecordFile f(bl2File());
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.count(), 4 * kEach);
    const auto rows = readAll(f, Order::byKey(0));
    ASSERT_EQ(rows.size(), 4u * kEach);
    for (int base : {1000, 5000, 100000, 200000})
        for (int i = 0; i < kEach; i += 37) {
            Bl2Record key, out;
            key.BS2 = base + i;
            EXPECT_EQ(f.fetch(0, &key, &out), Status::Ok) << key.BS2;
        }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(RecordFileTest, AWriteLockHeldByAnotherConnectionIsWaitedOutWhileReadersGoOn) {
    RecordFile f(rewFile());
    ASSERT_TRUE(f.open());
    RewRecord r;
    r.DDD = 1;
    ASSERT_TRUE(f.insert(&r));
    RawDb other("DATA/Rew.dat");
    ASSERT_EQ(other.exec("BEGIN IMMEDIATE; DELETE FROM REW"), SQLITE_OK);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.exec("ROLLBACK");
    });
    const auto start = std::chrono::steady_clock::now();
    // A list pages on while another program is in the middle of a change, and sees it unchanged.
    EXPECT_EQ(readAll(f, Order::byKey(0)).size(), 1u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_TRUE(f.insert(&r));
    const auto waited = std::chrono::steady_clock::now() - start;
    release.join();
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_EQ(f.count(), 2);
    EXPECT_TRUE(errors.reports().empty());
}

}  // namespace
}  // namespace pordex
