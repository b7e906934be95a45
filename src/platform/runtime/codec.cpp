#include "platform/runtime/codec.h"

#include <iconv.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace pordex {
namespace {

// The code page is asked of iconv once, byte by byte; the table then serves every conversion.
struct Cp1251Table {
    std::array<char32_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;

    Cp1251Table() {
        iconv_t cd = iconv_open("UTF-32LE", "CP1251");
        if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: no CP1251");
        for (int b = 0; b < 256; ++b) {
            char in = static_cast<char>(b);
            char32_t out = 0;
            char* inp = &in;
            size_t inLeft = 1;
            char* outp = reinterpret_cast<char*>(&out);
            size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || outLeft)
                out = static_cast<char32_t>(b);  // undefined in the code page: keep the byte value
            toUnicode[b] = out;
        }
        iconv_close(cd);
        for (int b = 255; b >= 0; --b) fromUnicode[toUnicode[b]] = static_cast<unsigned char>(b);
    }
};

const Cp1251Table& table() {
    static const Cp1251Table t;
    return t;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns U+FFFD for a malformed one and advances i.
char32_t nextUtf8(std::string_view s, size_t& i) {
    auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4) return 0xFFFD;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return c;
}

}  // namespace

std::string cp1251ToUtf8(std::string_view cp1251) {
    const auto& t = table();
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char ch : cp1251) appendUtf8(out, t.toUnicode[static_cast<unsigned char>(ch)]);
    return out;
}

std::string utf8ToCp1251(std::string_view utf8) {
    const auto& t = table();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = nextUtf8(utf8, i);
        auto it = t.fromUnicode.find(c);
        out += it == t.fromUnicode.end() ? '?' : static_cast<char>(it->second);
    }
    return out;
}

namespace {

// Upper- and lower-case pairs of the code page beyond the two contiguous runs
// (A-Z/a-z and А-Я/а-я): Ђђ Ѓѓ Љљ Њњ Ќќ Ћћ Џџ Ўў Јј Ґґ Ёё Єє Її Іі Ѕѕ.
constexpr std::pair<unsigned char, unsigned char> kOtherPairs[] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
    {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
    {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};

    constexpr CaseTables() {
        for (int b = 0; b < 256; ++b) upper[b] = lower[b] = static_cast<unsigned char>(b);
        auto pair = [this](int up, int low) {
            upper[low] = static_cast<unsigned char>(up);
            lower[up] = static_cast<unsigned char>(low);
        };
        for (int b = 'A'; b <= 'Z'; ++b) pair(b, b + 32);
        for (int b = 0xC0; b <= 0xDF; ++b) pair(b, b + 32);
        for (auto [up, low] : kOtherPairs) pair(up, low);
    }
};

constexpr CaseTables kCase;

}  // namespace

unsigned char cp1251Upper(unsigned char c) {
    return kCase.upper[c];
}

unsigned char cp1251Lower(unsigned char c) {
    return kCase.lower[c];
}

std::string cp1251ToUpper(std::string_view cp1251) {
    std::string out(cp1251);
    for (char& ch : out) ch = static_cast<char>(cp1251Upper(static_cast<unsigned char>(ch)));
    return out;
}

std::string cp1251ToLower(std::string_view cp1251) {
    std::string out(cp1251);
    for (char& ch : out) ch = static_cast<char>(cp1251Lower(static_cast<unsigned char>(ch)));
    return out;
}

}  // namespace pordex
