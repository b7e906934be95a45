#include "platform/runtime/picture.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "platform/runtime/codec.h"
#include "platform/runtime/date.h"
#include "platform/runtime/decimal.h"

namespace pordex {
namespace {

constexpr int kMaxNumberWidth = 255;
constexpr int kMaxTextWidth = 65535;
constexpr int kLongDateWidth = 19;  // "30 сентября 2005 г."

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads an unsigned decimal number at text[i]; nullopt when there is no digit or it exceeds
// `limit`.
std::optional<int> readCount(std::string_view text, std::size_t& i, int limit) {
    if (i >= text.size() || !isDigit(text[i])) return std::nullopt;
    long n = 0;
    while (i < text.size() && isDigit(text[i])) {
        n = n * 10 + (text[i++] - '0');
        if (n > limit) return std::nullopt;
    }
    return static_cast<int>(n);
}

std::string fill(const Picture& p, char c) {
    return std::string(static_cast<std::size_t>(p.width), c);
}

// ---- text -------------------------------------------------------------------------------

// Length of the UTF-8 sequence led by byte c (1 for a stray continuation byte).
std::size_t sequenceLength(unsigned char c) {
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

std::string fitText(std::string_view utf8, int width) {
    std::string out;
    int chars = 0;
    for (std::size_t i = 0; i < utf8.size() && chars < width; ++chars) {
        std::size_t n =
            std::min(sequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        out.append(utf8.substr(i, n));
        i += n;
    }
    out.append(static_cast<std::size_t>(width - chars), ' ');
    return out;
}

// The number as its shortest decimal reads, without exponent ("12.5", "-3", "1e-50" as
// "0" beyond 40 decimals).
std::string shortestText(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    const auto d = roundDecimal(value, 40);
    std::string text = (d->negative ? "-" : "") + d->integer;
    const std::size_t last = d->fraction.find_last_not_of('0');
    if (last != std::string::npos) text += "." + d->fraction.substr(0, last + 1);
    return text;
}

// ---- numbers ----------------------------------------------------------------------------

// The number in the picture, or nullopt when it does not fit.
std::optional<std::string> writeNumber(const Picture& p, double value) {
    const auto d = roundDecimal(value, p.decimals);
    if (!d) return std::nullopt;
    const bool zero = d->integer == "0" && d->fraction.find_first_not_of('0') == std::string::npos;
    if (zero && p.blankZero) return fill(p, ' ');

    std::string body;
    if (p.grouping) {
        const std::size_t n = d->integer.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) body += ',';
            body += d->integer[i];
        }
    } else {
        body = d->integer;
    }
    if (p.decimals > 0) body += '.' + d->fraction;

    const std::string sign = d->negative ? "-" : "";
    const std::size_t used = sign.size() + body.size();
    const auto width = static_cast<std::size_t>(p.width);
    if (used > width) return std::nullopt;
    if (p.zeroFill) return sign + std::string(width - used, '0') + body;
    return std::string(width - used, ' ') + sign + body;
}

// Turns no-break blanks (U+00A0, U+202F) and tabs into plain blanks and trims the ends.
std::string normaliseBlanks(std::string_view utf8) {
    std::string s;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8.substr(i, 2) == "\xC2\xA0") {
            s += ' ';
            ++i;
        } else if (utf8.substr(i, 3) == "\xE2\x80\xAF") {
            s += ' ';
            i += 2;
        } else {
            s += utf8[i] == '\t' ? ' ' : utf8[i];
        }
    }
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Digits of the whole part with their group separators; a run of digits when ungrouped.
std::optional<std::string> ungroup(std::string_view s) {
    std::string digits;
    std::size_t groups = 0;
    std::size_t groupLen = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && isDigit(s[i])) {
            digits += s[i];
            ++groupLen;
            continue;
        }
        // End of a group (a separator or the end of the text).
        if (groupLen == 0) return std::nullopt;  // separator at the start or doubled
        if (groups > 0 && groupLen != 3) return std::nullopt;
        if (groups == 0 && groupLen > 3 && i < s.size()) return std::nullopt;
        ++groups;
        groupLen = 0;
    }
    return digits;
}

// A typed number as plain text "-123.45"; `decimals` < 0: a text picture (no limit).
std::optional<std::string> readNumber(std::string_view utf8, int decimals) {
    std::string s = normaliseBlanks(utf8);
    if (s.empty()) return "0";
    bool negative = false;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        s = normaliseBlanks(std::string_view(s).substr(1));
        if (s.empty()) return std::nullopt;
    }
    std::size_t commas = 0;
    std::size_t points = 0;
    bool blanks = false;
    for (char c : s) {
        if (c == ',')
            ++commas;
        else if (c == '.')
            ++points;
        else if (c == ' ')
            blanks = true;
        else if (!isDigit(c))
            return std::nullopt;
    }
    if (points > 1) return std::nullopt;

    std::size_t decimalAt = std::string::npos;
    if (points == 1) {
        decimalAt = s.find('.');
    } else if (commas == 1 && decimals != 0) {
        const std::size_t at = s.find(',');
        const std::string_view after = std::string_view(s).substr(at + 1);
        const std::string_view before = std::string_view(s).substr(0, at);
        if (after.size() != 3 || blanks || before == "0" || before.empty()) decimalAt = at;
    }

    const std::string_view whole = std::string_view(s).substr(0, decimalAt);
    std::string_view frac;
    if (decimalAt != std::string::npos) frac = std::string_view(s).substr(decimalAt + 1);
    for (char c : frac)
        if (!isDigit(c)) return std::nullopt;

    std::string digits;
    if (whole.empty()) {
        if (frac.empty()) return std::nullopt;  // a lone separator
        digits = "0";
    } else {
        auto grouped = ungroup(whole);
        if (!grouped) return std::nullopt;
        digits = *grouped;
    }
    std::string out = negative ? "-" : "";
    out += digits;
    if (!frac.empty()) out += "." + std::string(frac);
    return out;
}

std::optional<double> toDouble(const std::string& text) {
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> parseNumber(const Picture& p, std::string_view utf8) {
    auto text = readNumber(utf8, p.decimals);
    if (!text) return std::nullopt;
    auto v = toDouble(*text);
    if (!v) return std::nullopt;
    // Rounded to the field's decimals, as it will be shown, and refused when it cannot be.
    const auto d = roundDecimal(*v, p.decimals);
    Picture plain = p;
    plain.blankZero = false;
    if (!writeNumber(plain, *v)) return std::nullopt;
    std::string rounded = (d->negative ? "-" : "") + d->integer;
    if (p.decimals > 0) rounded += "." + d->fraction;
    return toDouble(rounded);
}

// ---- dates ------------------------------------------------------------------------------

struct MonthName {
    const char* nominative;
    const char* genitive;
};
constexpr std::array<MonthName, 12> kMonths{{
    {"январь", "января"},
    {"февраль", "февраля"},
    {"март", "марта"},
    {"апрель", "апреля"},
    {"май", "мая"},
    {"июнь", "июня"},
    {"июль", "июля"},
    {"август", "августа"},
    {"сентябрь", "сентября"},
    {"октябрь", "октября"},
    {"ноябрь", "ноября"},
    {"декабрь", "декабря"},
}};

std::string two(int n) {
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

std::optional<LONG> dayNumber(double value) {
    if (!std::isfinite(value) || value != std::floor(value)) return std::nullopt;
    if (value == 0) return 0;
    if (value < kFirstDay || value > kLastDay) return std::nullopt;
    return static_cast<LONG>(value);
}

std::string writeDate(const Picture& p, double value) {
    const auto date = dayNumber(value);
    if (!date) return fill(p, '#');
    if (*date == 0) return p.dateForm == Picture::DateForm::Long ? std::string() : fill(p, ' ');
    const int d = DAY(*date), m = MONTH(*date), y = YEAR(*date);
    const std::string year = std::to_string(y);  // 1801..9999: always four digits
    switch (p.dateForm) {
        case Picture::DateForm::DayMonthYear:
            return two(d) + "/" + two(m) + "/" + year;
        case Picture::DateForm::Compact:
            return year + two(m) + two(d);
        case Picture::DateForm::Long:
            return std::to_string(d) + " " + kMonths[static_cast<std::size_t>(m - 1)].genitive +
                   " " + year + " г.";
    }
    return fill(p, '#');
}

std::string lowerCp1251(std::string_view utf8) {
    std::string s = utf8ToCp1251(utf8);
    for (char& c : s) c = static_cast<char>(cp1251Lower(static_cast<unsigned char>(c)));
    return s;
}

// 1..12 for a month's name or its beginning of at least three letters; 0 otherwise.
int monthFromName(std::string_view utf8) {
    const std::string word = lowerCp1251(utf8);
    if (word.size() < 3) return 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        for (const char* name : {kMonths[i].nominative, kMonths[i].genitive}) {
            const std::string full = utf8ToCp1251(name);
            if (full.compare(0, word.size(), word) == 0) return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

struct Token {
    std::string text;
    bool number;
};

std::optional<int> smallNumber(const Token& t) {
    if (!t.number || t.text.size() > 2) return std::nullopt;
    return std::stoi(t.text);
}

std::optional<int> yearNumber(const Token& t) {
    if (!t.number) return std::nullopt;
    if (t.text.size() == 4) return std::stoi(t.text);
    if (t.text.size() <= 2) {
        const int yy = std::stoi(t.text);
        return yy < 80 ? 2000 + yy : 1900 + yy;
    }
    return std::nullopt;
}

std::optional<double> checkedDate(int d, int m, int y) {
    if (m < 1 || m > 12 || d < 1 || d > 31 || y < 1801 || y > 9999) return std::nullopt;
    const LONG date = DATE(m, d, y);
    if (date == 0 || DAY(date) != d || MONTH(date) != m) return std::nullopt;
    return date;
}

std::optional<double> parseDate(const Picture& p, std::string_view utf8) {
    // Split into runs of digits and runs of letters; blanks and "/.-," separate them.
    std::vector<Token> tokens;
    const std::string s = normaliseBlanks(utf8);
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == ' ' || c == '/' || c == '.' || c == '-' || c == ',') {
            ++i;
        } else if (isDigit(c)) {
            std::size_t j = i;
            while (j < s.size() && isDigit(s[j])) ++j;
            tokens.push_back({s.substr(i, j - i), true});
            i = j;
        } else {
            std::size_t j = i;
            while (j < s.size() && !isDigit(s[j]) &&
                   std::string_view(" /.-,").find(s[j]) == std::string_view::npos)
                ++j;
            tokens.push_back({s.substr(i, j - i), false});
            i = j;
        }
    }
    if (tokens.empty()) return 0.0;
    if (!tokens.back().number) {
        const std::string last = lowerCp1251(tokens.back().text);
        if (last == utf8ToCp1251("г") || last == utf8ToCp1251("года")) tokens.pop_back();
    }

    const bool compact = p.dateForm == Picture::DateForm::Compact;
    if (tokens.size() == 1 && tokens[0].number) {
        const std::string& t = tokens[0].text;
        auto part = [&t](std::size_t at, std::size_t n) { return std::stoi(t.substr(at, n)); };
        if (t.size() == 8)
            return compact ? checkedDate(part(6, 2), part(4, 2), part(0, 4))
                           : checkedDate(part(0, 2), part(2, 2), part(4, 4));
        if (t.size() == 6 && !compact) {
            const int yy = part(4, 2);
            return checkedDate(part(0, 2), part(2, 2), yy < 80 ? 2000 + yy : 1900 + yy);
        }
        return std::nullopt;
    }
    if (tokens.size() != 3) return std::nullopt;

    const Token& first = compact ? tokens[2] : tokens[0];
    const Token& year = compact ? tokens[0] : tokens[2];
    const auto d = smallNumber(first);
    const auto y = yearNumber(year);
    int m = 0;
    if (tokens[1].number) {
        if (auto mm = smallNumber(tokens[1])) m = *mm;
    } else {
        m = monthFromName(tokens[1].text);
    }
    if (!d || !y || m == 0) return std::nullopt;
    return checkedDate(*d, m, *y);
}

}  // namespace

std::optional<Picture> Picture::parse(std::string_view text) {
    if (text.empty()) return std::nullopt;
    Picture p;
    std::size_t i = 1;
    const char letter = text[0];
    if (letter == 's' || letter == 'S') {
        p.kind = Kind::Text;
        auto w = readCount(text, i, kMaxTextWidth);
        if (!w || *w == 0 || i != text.size()) return std::nullopt;
        p.width = *w;
        return p;
    }
    if (letter == 'd' || letter == 'D') {
        p.kind = Kind::Date;
        auto n = readCount(text, i, 99);
        if (!n) return std::nullopt;
        if (*n == 6) {
            p.dateForm = DateForm::DayMonthYear;
            p.width = 10;
        } else if (*n == 12) {
            p.dateForm = DateForm::Compact;
            p.width = 8;
        } else if (*n == 4) {
            p.dateForm = DateForm::Long;
            p.width = kLongDateWidth;
        } else {
            return std::nullopt;
        }
        if (i < text.size() && (text[i] == 'b' || text[i] == 'B')) {
            p.blankZero = true;
            ++i;
        }
        return i == text.size() ? std::optional(p) : std::nullopt;
    }
    if (letter != 'n' && letter != 'N') return std::nullopt;

    p.kind = Kind::Number;
    p.grouping = true;
    if (i < text.size() && text[i] == '_') {
        p.grouping = false;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && isDigit(text[i + 1])) {
        p.zeroFill = true;
        p.grouping = false;
        ++i;
    }
    auto w = readCount(text, i, kMaxNumberWidth);
    if (!w || *w == 0) return std::nullopt;
    p.width = *w;
    if (i < text.size() && text[i] == '.') {
        ++i;
        auto d = readCount(text, i, 40);
        if (!d) return std::nullopt;
        p.decimals = *d;
        if (p.decimals > 0 && p.decimals + 2 > p.width) return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'b' || text[i] == 'B')) {
        p.blankZero = true;
        ++i;
    }
    return i == text.size() ? std::optional(p) : std::nullopt;
}

std::string formatValue(const Picture& picture, double value) {
    switch (picture.kind) {
        case Picture::Kind::Text:
            return fitText(shortestText(value), picture.width);
        case Picture::Kind::Number:
            return writeNumber(picture, value).value_or(fill(picture, '#'));
        case Picture::Kind::Date:
            return writeDate(picture, value);
    }
    return {};
}

std::string formatText(const Picture& picture, std::string_view utf8) {
    if (picture.kind == Picture::Kind::Text) return fitText(utf8, picture.width);
    const auto v = parseValue(picture, utf8);
    return v ? formatValue(picture, *v) : fill(picture, '#');
}

std::optional<double> parseValue(const Picture& picture, std::string_view utf8) {
    switch (picture.kind) {
        case Picture::Kind::Text: {
            auto text = readNumber(utf8, -1);
            return text ? toDouble(*text) : std::nullopt;
        }
        case Picture::Kind::Number:
            return parseNumber(picture, utf8);
        case Picture::Kind::Date:
            return parseDate(picture, utf8);
    }
    return std::nullopt;
}

std::string format(std::string_view picture, double value) {
    const auto p = Picture::parse(picture);
    return p ? formatValue(*p, value) : std::string();
}

}  // namespace pordex
