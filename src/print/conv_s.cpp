#include "print/conv_s.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "data/globals.h"
#include "platform/runtime/codec.h"
#include "platform/runtime/decimal.h"

namespace pordex::print {
namespace {

constexpr std::size_t kLineWidth = 60;
constexpr std::size_t kLines = 3;

// Noun forms: after one; after two, three and four; after zero, five to twenty and hundreds.
enum Form { kOne = 0, kFew = 1, kMany = 2 };
using Nouns = std::array<std::string, 3>;

// Every word in Windows-1251 with its leading blank, the separator when words are joined.
struct WordTables {
    std::array<std::string, 10> SOT;      // [1..9] hundreds
    std::array<std::string, 10> DES;      // [1..9] tens
    std::array<std::string, 21> DESEDIN;  // [1..20] masculine
    std::array<std::string, 21> DETIS;    // [1..20] feminine, for thousands
    std::array<Form, 21> INDDSED{};       // [1..20] noun form after the number
    Nouns RYB, TIS, MLN, MLR, KOP;
    std::string RUBLEI;  // the rouble noun after an empty units group

    WordTables() {
        auto w = [](std::string_view utf8) { return " " + utf8ToCp1251(utf8); };
        const char* hundreds[] = {"сто",      "двести",  "триста",    "четыреста", "пятьсот",
                                  "шестьсот", "семьсот", "восемьсот", "девятьсот"};
        const char* tens[] = {"десять",     "двадцать",  "тридцать",    "сорок",    "пятьдесят",
                              "шестьдесят", "семьдесят", "восемьдесят", "девяносто"};
        const char* ones[] = {"один",       "два",          "три",          "четыре",
                              "пять",       "шесть",        "семь",         "восемь",
                              "девять",     "десять",       "одиннадцать",  "двенадцать",
                              "тринадцать", "четырнадцать", "пятнадцать",   "шестнадцать",
                              "семнадцать", "восемнадцать", "девятнадцать", "двадцать"};
        for (int i = 1; i <= 9; ++i) {
            SOT[i] = w(hundreds[i - 1]);
            DES[i] = w(tens[i - 1]);
        }
        for (int i = 1; i <= 20; ++i) {
            DESEDIN[i] = w(ones[i - 1]);
            DETIS[i] = DESEDIN[i];
            INDDSED[i] = i == 1 ? kOne : i <= 4 ? kFew : kMany;
        }
        DETIS[1] = w("одна");
        DETIS[2] = w("две");
        RYB = {w("рубль"), w("рубля"), w("рублей")};
        TIS = {w("тысяча"), w("тысячи"), w("тысяч")};
        MLN = {w("миллион"), w("миллиона"), w("миллионов")};
        MLR = {w("миллиард"), w("миллиарда"), w("миллиардов")};
        KOP = {utf8ToCp1251("копейка"), utf8ToCp1251("копейки"), utf8ToCp1251("копеек")};
        RUBLEI = RYB[kMany];
    }
};

const WordTables& tables() {
    static const WordTables t;
    return t;
}

std::size_t trimmedLength(const std::string& s) {
    const std::size_t last = s.find_last_not_of(' ');
    return last == std::string::npos ? 0 : last + 1;
}

// The words of the rouble part, one entry per word, highest group first.
void spellRoubles(const std::string& digits, std::vector<std::string>& entries) {
    const WordTables& t = tables();
    const Nouns* groupNoun[] = {nullptr, &t.TIS, &t.MLN, &t.MLR};
    const std::size_t n = digits.size();
    std::size_t pos = 0;     // YKLTEK: the next digit to read
    int wordsInRoubles = 0;  // PRZN1

    for (std::size_t group = (n + 2) / 3; group-- > 0;) {
        const std::size_t len = n - pos - group * 3;  // the highest group may be shorter
        const bool thousands = group == 1;            // PRTISH: feminine numbers
        const auto& table = thousands ? t.DETIS : t.DESEDIN;
        int words = 0;      // PRZN
        Form form = kMany;  // IND1
        auto digit = [&digits, &pos] { return digits[pos++] - '0'; };
        auto append = [&](const std::string& word) {
            entries.push_back(word);
            ++words;
        };

        if (len == 3) {  // PR_COT
            if (int h = digit(); h > 0) append(t.SOT[h]);
        }
        bool unitsLeft = len == 1;
        if (len >= 2) {  // PR_DEC
            const int tens = digits[pos] - '0';
            const int v = tens * 10 + (digits[pos + 1] - '0');
            if (v == 0) {
                pos += 2;
            } else if (v <= 20) {
                append(table[v]);
                form = t.INDDSED[v];
                pos += 2;
            } else {
                append(t.DES[tens]);
                ++pos;
                unitsLeft = true;  // the units digit is spelled on its own
            }
        }
        if (unitsLeft) {  // PR_EDN
            if (int u = digit(); u > 0) {
                append(table[u]);
                form = t.INDDSED[u];
            } else {
                form = kMany;
            }
        }

        if (group > 0) {
            if (words > 0) entries.push_back((*groupNoun[group])[form]);
        } else if (words > 0) {
            entries.push_back(t.RYB[form]);
        } else if (wordsInRoubles > 0) {
            entries.push_back(t.RUBLEI);
        }
        wordsInRoubles += words;
    }
}

}  // namespace

AmountWords amountInWords(double amount) {
    AmountWords out;
    // W: the amount to the kopeck, as decimal digits (no binary drift: 0.29 stays 29 kopecks).
    const auto w = roundDecimal(amount, 2);
    if (!w || w->negative || w->integer.size() > 12) return out;

    std::vector<std::string> entries;  // MASREZ
    entries.reserve(20);
    if (w->integer != "0") spellRoubles(w->integer, entries);

    const WordTables& t = tables();
    const char tens = w->fraction[0];
    const char units = w->fraction[1];
    const Form kopForm = tens == '1'                    ? kMany
                         : units == '1'                 ? kOne
                         : units >= '2' && units <= '4' ? kFew
                                                        : kMany;
    entries.push_back(" " + w->fraction + " " + t.KOP[kopForm]);

    // Fill the lines in order; an entry that would make a line 60 characters or longer (its
    // leading blank included) begins the next one.
    std::array<std::string, kLines> lines;
    std::size_t line = 0;
    for (const std::string& entry : entries) {
        if (!lines[line].empty() &&
            trimmedLength(lines[line]) + trimmedLength(entry) >= kLineWidth) {
            if (++line == kLines) break;  // no amount in range needs a fourth line
        }
        lines[line] += entry;
    }
    for (std::string& l : lines) {
        if (!l.empty() && l[0] == ' ') l.erase(0, 1);
    }

    // Capital letter for the number word that opens the first line; never for kopeck digits.
    static const std::string lowerInitials = utf8ToCp1251("одтчпшсв");
    if (!lines[0].empty() && lowerInitials.find(lines[0][0]) != std::string::npos)
        lines[0][0] = static_cast<char>(cp1251Upper(static_cast<unsigned char>(lines[0][0])));

    out.S1.assignRaw(lines[0]);
    out.S2.assignRaw(lines[1]);
    out.S3.assignRaw(lines[2]);
    return out;
}

void CONV_S() {
    Globals& g = globals();
    AmountWords words = amountInWords(g.S_R);
    g.S1 = words.S1;
    g.S2 = words.S2;
    g.S3 = words.S3;
}

}  // namespace pordex::print
