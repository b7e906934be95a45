#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/globals.h"
#include "platform/runtime/codec.h"
#include "print/conv_s.h"

namespace pordex::print {
namespace {

std::vector<std::string> linesOf(const AmountWords& w) {
    return {w.S1.utf8(), w.S2.utf8(), w.S3.utf8()};
}

struct Case {
    double amount;
    std::vector<std::string> lines;  // S1, S2, S3
};

TEST(AmountInWords, WritesTheAmountAsTheOrderPrintsIt) {
    const Case cases[] = {
        {0.00, {"00 копеек", "", ""}},
        {0.01, {"01 копейка", "", ""}},
        {0.05, {"05 копеек", "", ""}},
        {0.11, {"11 копеек", "", ""}},
        {0.12, {"12 копеек", "", ""}},
        {0.21, {"21 копейка", "", ""}},
        {0.22, {"22 копейки", "", ""}},
        {0.29, {"29 копеек", "", ""}},  // 0.29 * 100 is 28.999999999999996 in binary
        {0.005, {"01 копейка", "", ""}},
        {0.0049, {"00 копеек", "", ""}},
        {3002001.04, {"Три миллиона две тысячи один рубль 04 копейки", "", ""}},
        {1, {"Один рубль 00 копеек", "", ""}},
        {1.005, {"Один рубль 01 копейка", "", ""}},
        {2, {"Два рубля 00 копеек", "", ""}},
        {4, {"Четыре рубля 00 копеек", "", ""}},
        {5, {"Пять рублей 00 копеек", "", ""}},
        {10, {"Десять рублей 00 копеек", "", ""}},
        {11, {"Одиннадцать рублей 00 копеек", "", ""}},
        {20, {"Двадцать рублей 00 копеек", "", ""}},
        {21, {"Двадцать один рубль 00 копеек", "", ""}},
        {40, {"Сорок рублей 00 копеек", "", ""}},
        {90, {"Девяносто рублей 00 копеек", "", ""}},
        {101, {"Сто один рубль 00 копеек", "", ""}},
        {112, {"Сто двенадцать рублей 00 копеек", "", ""}},
        {300, {"Триста рублей 00 копеек", "", ""}},
        {1000, {"Одна тысяча рублей 00 копеек", "", ""}},
        {1001, {"Одна тысяча один рубль 00 копеек", "", ""}},
        {2000, {"Две тысячи рублей 00 копеек", "", ""}},
        {5000, {"Пять тысяч рублей 00 копеек", "", ""}},
        {11000, {"Одиннадцать тысяч рублей 00 копеек", "", ""}},
        {21000, {"Двадцать одна тысяча рублей 00 копеек", "", ""}},
        {22000, {"Двадцать две тысячи рублей 00 копеек", "", ""}},
        {100000, {"Сто тысяч рублей 00 копеек", "", ""}},
        {1000000, {"Один миллион рублей 00 копеек", "", ""}},
        {2000000, {"Два миллиона рублей 00 копеек", "", ""}},
        {5000000, {"Пять миллионов рублей 00 копеек", "", ""}},
        {1000000000, {"Один миллиард рублей 00 копеек", "", ""}},
        {2000000000, {"Два миллиарда рублей 00 копеек", "", ""}},
        {21000000000, {"Двадцать один миллиард рублей 00 копеек", "", ""}},
        {1000000001, {"Один миллиард один рубль 00 копеек", "", ""}},
        {7000000000.7, {"Семь миллиардов рублей 70 копеек", "", ""}},
        {1234567.89,
         {"Один миллион двести тридцать четыре тысячи пятьсот", "шестьдесят семь рублей 89 копеек",
          ""}},
        {1234567.891,
         {"Один миллион двести тридцать четыре тысячи пятьсот", "шестьдесят семь рублей 89 копеек",
          ""}},
        {999999999999.99,
         {"Девятьсот девяносто девять миллиардов девятьсот девяносто",
          "девять миллионов девятьсот девяносто девять тысяч",
          "девятьсот девяносто девять рублей 99 копеек"}},
        // No words outside the range the order's amount field holds.
        {-1, {"", "", ""}},
        {-0.01, {"", "", ""}},
        {1e12, {"", "", ""}},
        {999999999999.995, {"", "", ""}},  // rounds up to 10^12
        {1e300, {"", "", ""}},
        {std::numeric_limits<double>::quiet_NaN(), {"", "", ""}},
        {std::numeric_limits<double>::infinity(), {"", "", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linesOf(amountInWords(c.amount)), c.lines) << std::fixed << c.amount;
    }
    // -0.004 rounds to zero kopecks, which is not negative.
    EXPECT_EQ(linesOf(amountInWords(-0.004)), (std::vector<std::string>{"00 копеек", "", ""}));
}

TEST(AmountInWords, ConvSReadsSRAndOverwritesAllThreeLines) {
    resetGlobals();
    Globals& g = globals();
    g.S_R = 999999999999.99;
    CONV_S();
    EXPECT_FALSE(g.S3.blank());
    g.S_R = 1000;
    CONV_S();
    EXPECT_EQ(g.S1.utf8(), "Одна тысяча рублей 00 копеек");
    EXPECT_TRUE(g.S2.blank());
    EXPECT_TRUE(g.S3.blank());
    EXPECT_EQ(g.S1.raw().size(), 60u);
    EXPECT_EQ(g.S1.raw().substr(g.S1.length()), std::string(60 - g.S1.length(), ' '));
    g.S_R = -5;
    CONV_S();
    EXPECT_TRUE(g.S1.blank() && g.S2.blank() && g.S3.blank());
    resetGlobals();
}

// ---- an independent reader of the words ---------------------------------------------------

struct Amount {
    std::int64_t roubles = 0;
    int kopecks = 0;
};

// The noun form a number calls for: 0 after one, 1 after two to four, 2 otherwise.
int formFor(std::int64_t n) {
    const auto lastTwo = n % 100, last = n % 10;
    if (lastTwo >= 11 && lastTwo <= 19) return 2;
    if (last == 1) return 0;
    if (last >= 2 && last <= 4) return 1;
    return 2;
}

// Reads the words back into roubles and kopecks, checking Russian grammar on the way:
// order of hundreds, tens and units inside a group, the feminine one and two before "тысяча",
// the noun form after every group. Returns an error text on the first fault.
std::optional<std::string> readBack(const std::string& text, Amount& out) {
    static const std::map<std::string, int> hundreds = {
        {"сто", 100},       {"двести", 200},    {"триста", 300},
        {"четыреста", 400}, {"пятьсот", 500},   {"шестьсот", 600},
        {"семьсот", 700},   {"восемьсот", 800}, {"девятьсот", 900}};
    static const std::map<std::string, int> tens = {
        {"двадцать", 20},   {"тридцать", 30},  {"сорок", 40},       {"пятьдесят", 50},
        {"шестьдесят", 60}, {"семьдесят", 70}, {"восемьдесят", 80}, {"девяносто", 90}};
    static const std::map<std::string, int> units = {
        {"один", 1},         {"одна", 1},         {"два", 2},         {"две", 2},
        {"три", 3},          {"четыре", 4},       {"пять", 5},        {"шесть", 6},
        {"семь", 7},         {"восемь", 8},       {"девять", 9},      {"десять", 10},
        {"одиннадцать", 11}, {"двенадцать", 12},  {"тринадцать", 13}, {"четырнадцать", 14},
        {"пятнадцать", 15},  {"шестнадцать", 16}, {"семнадцать", 17}, {"восемнадцать", 18},
        {"девятнадцать", 19}};
    struct Noun {
        std::int64_t scale;
        int form;
    };
    static const std::map<std::string, Noun> nouns = {{"миллиард", {1000000000, 0}},
                                                      {"миллиарда", {1000000000, 1}},
                                                      {"миллиардов", {1000000000, 2}},
                                                      {"миллион", {1000000, 0}},
                                                      {"миллиона", {1000000, 1}},
                                                      {"миллионов", {1000000, 2}},
                                                      {"тысяча", {1000, 0}},
                                                      {"тысячи", {1000, 1}},
                                                      {"тысяч", {1000, 2}},
                                                      {"рубль", {1, 0}},
                                                      {"рубля", {1, 1}},
                                                      {"рублей", {1, 2}}};

    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.size() < 2) return "too few words";

    // Kopecks: two digits and their noun, always last.
    const std::string kop = words[words.size() - 2];
    const std::string kopNoun = words.back();
    if (kop.size() != 2 || !isdigit(static_cast<unsigned char>(kop[0])) ||
        !isdigit(static_cast<unsigned char>(kop[1])))
        return "kopecks are not two digits: " + kop;
    out.kopecks = std::stoi(kop);
    const char* kopNouns[] = {"копейка", "копейки", "копеек"};
    if (kopNoun != kopNouns[formFor(out.kopecks)]) return "kopeck noun " + kopNoun;
    words.resize(words.size() - 2);

    std::int64_t lastScale = std::numeric_limits<std::int64_t>::max();
    std::int64_t group = 0;
    int stage = 0;  // 0 nothing yet, 1 hundreds read, 2 tens read, 3 units read
    bool feminine = false, masculine = false;
    bool roublesNamed = words.empty();
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (roublesNamed) return "words after the rouble noun: " + w;
        if (auto h = hundreds.find(w); h != hundreds.end()) {
            if (stage >= 1) return "hundreds out of place: " + w;
            group += h->second, stage = 1;
        } else if (auto t = tens.find(w); t != tens.end()) {
            if (stage >= 2) return "tens out of place: " + w;
            group += t->second, stage = 2;
        } else if (auto u = units.find(w); u != units.end()) {
            if (stage >= 3 || (stage == 2 && u->second >= 10)) return "units out of place: " + w;
            group += u->second, stage = 3;
            feminine = w == "одна" || w == "две";
            masculine = w == "один" || w == "два";
        } else if (auto n = nouns.find(w); n != nouns.end()) {
            const Noun noun = n->second;
            if (noun.scale >= lastScale) return "groups out of order at " + w;
            if (group == 0 && !(noun.scale == 1 && out.roubles > 0 && noun.form == 2))
                return "a noun without a number: " + w;
            if (noun.form != formFor(group)) return "wrong noun form " + w;
            if (feminine != (noun.scale == 1000 && (group % 10 == 1 || group % 10 == 2) &&
                             group % 100 / 10 != 1))
                return "gender of one or two before " + w;
            if (masculine && noun.scale == 1000) return "masculine before " + w;
            out.roubles += group * noun.scale;
            lastScale = noun.scale;
            roublesNamed = noun.scale == 1;
            group = 0, stage = 0, feminine = masculine = false;
        } else {
            return "unknown word " + w;
        }
    }
    if (!roublesNamed) return "roubles not named";
    return std::nullopt;
}

// The words of the lines as one text, the first letter made small again.
std::string joined(const AmountWords& w) {
    std::string text = w.S1.utf8() + " " + w.S2.utf8() + " " + w.S3.utf8();
    const std::string cp = utf8ToCp1251(text.substr(0, 2));
    if (!text.empty() && static_cast<unsigned char>(text[0]) >= 0xC0)
        text = cp1251ToUtf8(std::string(
                   1, static_cast<char>(cp1251Lower(static_cast<unsigned char>(cp[0]))))) +
               text.substr(2);
    return text;
}

std::size_t firstEntryLength(const std::string& cp1251Line) {
    // The kopeck entry ("05 копеек") travels as one; every other entry is one word.
    std::size_t end = cp1251Line.find(' ');
    if (end != std::string::npos && end == 2 && isdigit(static_cast<unsigned char>(cp1251Line[0])))
        end = cp1251Line.find(' ', 3);
    return end == std::string::npos ? cp1251Line.size() : end;
}

TEST(AmountInWords, RandomAmountsReadBackAndFillTheLines) {
    std::mt19937_64 rng(60401060);
    std::uniform_int_distribution<int> digitsCount(1, 12), groupKind(0, 3), anyGroup(0, 999),
        smallGroup(0, 22), kopecks(0, 99);
    for (int i = 0; i < 4000; ++i) {
        // Groups are often zero, small or round so that the rare forms come up.
        std::int64_t roubles = 0;
        const int digits = digitsCount(rng);
        for (int g = 0; g < 4; ++g) {
            const int kind = groupKind(rng);
            const int value = kind == 0 ? 0 : kind == 1 ? smallGroup(rng) : anyGroup(rng);
            roubles = roubles * 1000 + value;
        }
        std::int64_t limit = 1;
        for (int d = 0; d < digits; ++d) limit *= 10;
        roubles %= limit;
        const int kop = kopecks(rng);
        const double amount = static_cast<double>(roubles) + kop / 100.0;

        const AmountWords w = amountInWords(amount);
        SCOPED_TRACE(testing::Message() << roubles << "." << kop << ": " << joined(w));
        const std::string lines[] = {w.S1.cp1251(), w.S2.cp1251(), w.S3.cp1251()};
        for (const auto& l : lines) {
            ASSERT_LE(l.size(), 58u);
            ASSERT_TRUE(l.empty() || (l.front() != ' ' && l.find("  ") == std::string::npos));
        }
        ASSERT_FALSE(lines[0].empty());
        ASSERT_TRUE(!lines[2].empty() <= !lines[1].empty()) << "a gap between lines";
        // A line is closed only when the next entry would not fit on it.
        for (int l = 0; l + 1 < 3 && !lines[l + 1].empty(); ++l) {
            ASSERT_GE(1 + lines[l].size() + 1 + firstEntryLength(lines[l + 1]), 60u)
                << "line " << l + 2 << " could have started on line " << l + 1;
        }
        Amount back;
        const auto error = readBack(joined(w), back);
        ASSERT_FALSE(error.has_value()) << *error;
        EXPECT_EQ(back.roubles, roubles);
        EXPECT_EQ(back.kopecks, kop);
        const bool digitFirst = isdigit(static_cast<unsigned char>(lines[0][0]));
        EXPECT_EQ(digitFirst, roubles == 0);
        if (!digitFirst) {
            const auto c = static_cast<unsigned char>(lines[0][0]);
            EXPECT_EQ(cp1251Upper(c), c) << "first letter not capital";
        }
    }
}

// The reader itself must refuse what is wrong, or the property above proves nothing.
TEST(AmountInWords, TheReaderRefusesBadRussian) {
    Amount a;
    EXPECT_FALSE(readBack("двадцать одна тысяча рублей 00 копеек", a).has_value());
    EXPECT_EQ(a.roubles, 21000);
    for (const char* bad :
         {"двадцать один тысяча рублей 00 копеек", "одна рубль 00 копеек", "два рублей 00 копеек",
          "пять рубля 00 копеек", "одиннадцать рубль 00 копеек",
          "один миллион тысяч рублей 00 копеек", "сто двадцать сто рублей 00 копеек",
          "один рубль 01 копеек", "один рубль 12 копейки", "один рубль 5 копеек", "один рубль",
          "тысяча рублей 00 копеек", "один рубль один 00 копеек", "один тысяча рублей 00 копеек",
          "двадцать одиннадцать рублей 00 копеек"}) {
        Amount b;
        EXPECT_TRUE(readBack(bad, b).has_value()) << bad;
    }
}

}  // namespace
}  // namespace pordex::print
