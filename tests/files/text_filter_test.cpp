#include "platform/files/text_filter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "data/file_layouts.h"
#include "platform/files/record_file.h"
#include "platform/runtime/codec.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

using files::Direction;
using files::Order;
using files::Position;
using files::RecordFile;
using files::Row;
using files::TextCondition;
using files::TextFilter;

std::size_t rewField(std::string_view name) {
    const auto& fields = rewFile().fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name) return i;
    return fields.size();
}

std::string cp(std::string_view utf8) {
    return utf8ToCp1251(utf8);
}

TEST(ContainsFolded, FoldsEveryLetterPairOfTheCodePage) {
    const struct {
        const char* text;
        const char* fragment;  // as typed; folded before the test
        bool found;
    } cases[] = {
        {"ООО «ТОРГ-СЕРВИС»", "торг", true},
        {"ооо «торг-сервис»", "ТОРГ", true},
        {"Ёлка и ёж", "ЁЛКА И ЁЖ", true},
        {"Ёлка", "Елка", false},  // Ё is its own letter
        {"Ґудзь Єва Їжак Ўладзь", "ґудзь єва їжак ўладзь", true},
        {"Trade Company", "TRADE comp", true},
        {"№ 12 «Восток» — 5‰", "«восток» —", true},
        {"abc", "abcd", false},
        {"abc", "", true},
        {"", "a", false},
        {"aab", "ab", true},  // a partial match does not hide a later one
        {"Торг", " торг", false},
        {"ООО Торг", " торг", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files::containsFolded(cp(c.text), cp1251ToUpper(cp(c.fragment))), c.found)
            << c.text << " / " << c.fragment;
    }
}

class TextFilterRead : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.open());
        std::mt19937 rng(11);
        const char* names[] = {"ООО «Ромашка»", "ао «северный завод»", "ИП Сидоров",
                               "Trade Company Ltd", "Торговый дом"};
        const char* numbers[] = {"1", "2", "10", "9", "А1", "", "Я"};
        std::vector<RewRecord> recs(9000);
        for (std::size_t i = 0; i < recs.size(); ++i) {
            RewRecord& r = recs[i];
            r.DDD = static_cast<LONG>(rng() % 40);  // zeros among them
            r.N_DOK = numbers[rng() % std::size(numbers)];
            r.N_PLA = names[rng() % std::size(names)];
            r.NAME = "Оплата по счету " + std::to_string(i);
            // A handful of rare ones, spread over the key.
            if (i % 1500 == 7) r.N_POL = "ООО «Единственный Получатель»";
        }
        ASSERT_TRUE(file.insertAll(recs.data(), recs.size()));
    }

    // The same read with the filter run by the store and run on each decoded record.
    void expectSame(const TextFilter& filter, const Position& from, Direction d, std::size_t n) {
        std::vector<Row> pushed, plain;
        ASSERT_TRUE(file.read(Order::byKey(0), from, d, n, pushed, filter));
        ASSERT_TRUE(file.read(Order::byKey(0), from, d, n, plain,
                              [&filter](const std::byte* r) { return filter(r); }));
        ASSERT_EQ(pushed.size(), plain.size());
        for (std::size_t i = 0; i < pushed.size(); ++i) {
            EXPECT_EQ(pushed[i].id, plain[i].id) << i;
            EXPECT_EQ(pushed[i].bytes, plain[i].bytes) << i;
        }
    }

    test::TempWorkdir dir;
    RecordFile file{rewFile()};
};

// Common fragments are found while following the key; rare ones after the store has given up
// following it and passed through the table: both give exactly the records, in the order and
// from the place, that the plain test gives.
TEST_F(TextFilterRead, TheStoreFindsWhatThePlainTestFindsFromEveryPlace) {
    const TextFilter filters[] = {
        TextFilter(rewFile(), {{rewField("N_PLA"), cp("торг")}}),
        TextFilter(rewFile(), {{rewField("N_POL"), cp("единственный")}}),
        TextFilter(rewFile(),
                   {{rewField("N_POL"), cp("получатель")}, {rewField("NAME"), cp("счету 7")}}),
        TextFilter(rewFile(), {{rewField("N_PLA"), cp("нет такого")}}),
        TextFilter(rewFile(), {{rewField("N_PLA"), cp(" ")}}),
    };
    // Places: the ends, and before/after records at a few points of the key.
    std::vector<Row> keyed;
    ASSERT_TRUE(file.read(Order::byKey(0), Position::first(), Direction::Forward, 100000, keyed));
    std::vector<Position> places = {Position::first(), Position::last()};
    for (std::size_t i : {std::size_t{0}, keyed.size() / 3, keyed.size() - 1}) {
        places.push_back(Position::before(keyed[i].id, keyed[i].bytes));
        places.push_back(Position::after(keyed[i].id, keyed[i].bytes));
        places.push_back(Position::atKey(keyed[i].bytes));
    }
    for (std::size_t f = 0; f < std::size(filters); ++f) {
        for (std::size_t p = 0; p < places.size(); ++p) {
            for (Direction d : {Direction::Forward, Direction::Backward}) {
                for (std::size_t n : {1u, 3u, 40u}) {
                    SCOPED_TRACE(testing::Message() << "filter " << f << " place " << p << " dir "
                                                    << (d == Direction::Forward) << " n " << n);
                    expectSame(filters[f], places[p], d, n);
                }
            }
        }
    }
}

TEST_F(TextFilterRead, RecordsOutsideTheKeyStayOutAndAllRareOnesAreFound) {
    const TextFilter rare(rewFile(), {{rewField("N_POL"), cp("ЕДИНСТВЕННЫЙ получатель")}});
    std::vector<Row> rows;
    ASSERT_TRUE(file.read(Order::byKey(0), Position::first(), Direction::Forward, 100, rows, rare));
    std::size_t expected = 0;
    for (std::size_t i = 7; i < 9000; i += 1500) ++expected;
    std::size_t zeros = 0;
    std::vector<Row> all;
    ASSERT_TRUE(file.read(Order::file(), Position::first(), Direction::Forward, 100000, all, rare));
    for (const Row& r : all) {
        RewRecord rec;
        std::memcpy(static_cast<void*>(&rec), r.bytes.data(), sizeof rec);
        if (rec.DDD == 0) ++zeros;
    }
    EXPECT_EQ(all.size(), expected);
    EXPECT_EQ(rows.size(), expected - zeros);
}

// The function the store runs reads back every byte of the code page from the stored UTF-8.
TEST_F(TextFilterRead, EveryByteOfTheCodePageIsMatchedInTheStore) {
    RewRecord r;
    r.DDD = 1;
    for (int c = 0x20; c < 0x100; ++c)
        r.NAME[static_cast<std::size_t>(c - 0x20)] = static_cast<char>(c);
    files::RowId id = 0;
    ASSERT_TRUE(file.insert(&r, &id));
    for (int c = 0x21; c < 0x100; ++c) {
        const std::string frag{static_cast<char>(c), static_cast<char>(c < 0xFF ? c + 1 : c)};
        if (c == 0xFF) continue;
        const TextFilter f(rewFile(), {{rewField("NAME"), frag}});
        std::vector<Row> rows;
        ASSERT_TRUE(
            file.read(Order::byKey(0), Position::first(), Direction::Forward, 100000, rows, f));
        bool found = false;
        for (const Row& row : rows) found = found || row.id == id;
        EXPECT_TRUE(found) << std::hex << c;
    }
}

}  // namespace
}  // namespace pordex
