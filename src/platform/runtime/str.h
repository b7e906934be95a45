#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/runtime/codec.h"

namespace pordex {

// STRING(N): N bytes of Windows-1251 text, blank-padded on the right, no terminator.
// Its size is exactly N so records keep their byte layout.
template <std::size_t N>
struct Str {
    char bytes[N];

    static constexpr std::size_t size() { return N; }

    Str() { clear(); }
    // From UTF-8 text, as the program's own literals are written.
    Str(std::string_view utf8) { assign(utf8); }  // NOLINT: literals read naturally

    void clear() { std::memset(bytes, ' ', N); }

    // Windows-1251 bytes, cut at N, padded with blanks.
    void assignRaw(std::string_view cp1251) {
        const std::size_t n = std::min(cp1251.size(), N);
        std::copy_n(cp1251.data(), n, bytes);  // an empty view may have no data: no memcpy
        std::memset(bytes + n, ' ', N - n);
    }
    void assign(std::string_view utf8) { assignRaw(utf8ToCp1251(utf8)); }
    Str& operator=(std::string_view utf8) {
        assign(utf8);
        return *this;
    }
    template <std::size_t M>
    void assignFrom(const Str<M>& other) {
        assignRaw(other.raw());
    }

    // All N bytes.
    std::string_view raw() const { return {bytes, N}; }
    // Without trailing blanks.
    std::string_view trimmed() const {
        std::size_t n = N;
        while (n > 0 && bytes[n - 1] == ' ') --n;
        return {bytes, n};
    }
    std::string cp1251() const { return std::string(trimmed()); }
    std::string utf8() const { return cp1251ToUtf8(trimmed()); }
    bool blank() const { return trimmed().empty(); }
    std::size_t length() const { return trimmed().size(); }

    // Removes leading blanks, keeping the text inside the field.
    void leftJustify() {
        std::string_view t = trimmed();
        std::size_t lead = 0;
        while (lead < t.size() && t[lead] == ' ') ++lead;
        assignRaw(std::string(t.substr(lead)));
    }

    char operator[](std::size_t i) const { return bytes[i]; }
    char& operator[](std::size_t i) { return bytes[i]; }

    // Compared as the platform compares texts: trailing blanks do not count.
    template <std::size_t M>
    bool operator==(const Str<M>& o) const {
        return trimmed() == o.trimmed();
    }
    bool equalsUtf8(std::string_view utf8) const { return trimmed() == utf8ToCp1251(utf8); }
};

}  // namespace pordex
