#include "platform/files/text_filter.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>

#include "platform/runtime/codec.h"

namespace pordex::files {
namespace {

// Tables built once: the test runs on every record a read looks at.
struct Tables {
    std::array<unsigned char, 256> upper{};
    // Windows-1251 byte of a code point: below U+0500 and in U+2000..U+22FF (dashes, quotes,
    // the numero sign, the euro). 0 = none (U+0000 itself is handled apart).
    std::array<unsigned char, 0x500> low{};
    std::array<unsigned char, 0x300> high{};

    Tables() {
        for (int c = 0; c < 256; ++c) {
            upper[static_cast<std::size_t>(c)] = cp1251Upper(static_cast<unsigned char>(c));
            if (c < 0x80) {
                low[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
                continue;
            }
            const std::string u = cp1251ToUtf8(std::string(1, static_cast<char>(c)));
            const std::uint32_t cp = decodeOne(u);
            if (cp < low.size())
                low[cp] = static_cast<unsigned char>(c);
            else if (cp >= 0x2000 && cp - 0x2000 < high.size())
                high[cp - 0x2000] = static_cast<unsigned char>(c);
        }
    }

    static std::uint32_t decodeOne(const std::string& u) {
        const auto* p = reinterpret_cast<const unsigned char*>(u.data());
        if (u.size() == 2) return ((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu);
        if (u.size() == 3) return ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        return u.empty() ? 0 : p[0];
    }

    unsigned char byteOf(std::uint32_t cp) const {
        if (cp < low.size())
            return (cp == 0 || low[cp] != 0) ? low[cp] : static_cast<unsigned char>('?');
        if (cp >= 0x2000 && cp - 0x2000 < high.size() && high[cp - 0x2000])
            return high[cp - 0x2000];
        return '?';
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

std::string_view trimmed(const std::byte* record, const FieldDesc& f) {
    std::string_view s(reinterpret_cast<const char*>(record + f.offset), f.width);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Stored UTF-8 back to Windows-1251 (at most as many bytes) into `out`; the texts the store
// holds were all written from Windows-1251, anything else becomes '?'.
std::size_t toCp1251(const unsigned char* s, std::size_t n, unsigned char* out) {
    const Tables& t = tables();
    std::size_t o = 0;
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out[o++] = c;
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < n) {
            out[o++] = t.byteOf(((c & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu));
            i += 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < n) {
            out[o++] =
                t.byteOf(((c & 0x0Fu) << 12) | ((s[i + 1] & 0x3Fu) << 6) | (s[i + 2] & 0x3Fu));
            i += 3;
        } else {
            out[o++] = '?';
            ++i;
            while (i < n && (s[i] & 0xC0) == 0x80) ++i;
        }
    }
    return o;
}

void containsFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto* text = sqlite3_value_text(argv[0]);
    const auto n = static_cast<std::size_t>(sqlite3_value_bytes(argv[0]));
    const auto* frag = static_cast<const char*>(sqlite3_value_blob(argv[1]));
    const auto m = static_cast<std::size_t>(sqlite3_value_bytes(argv[1]));
    if (m == 0) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    if (!text || n < m) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    // Fields are a few hundred bytes: no allocation for them.
    std::array<unsigned char, 1024> local;
    std::string big;
    unsigned char* buf = local.data();
    if (n > local.size()) {
        big.resize(n);
        buf = reinterpret_cast<unsigned char*>(big.data());
    }
    const std::size_t len = toCp1251(text, n, buf);
    sqlite3_result_int(ctx, containsFolded({reinterpret_cast<const char*>(buf), len}, {frag, m}));
}

}  // namespace

bool containsFolded(std::string_view text, std::string_view upperFragment) {
    const std::size_t m = upperFragment.size();
    if (m == 0) return true;
    if (text.size() < m) return false;
    const auto& up = tables().upper;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto* f = reinterpret_cast<const unsigned char*>(upperFragment.data());
    const std::size_t last = text.size() - m;
    for (std::size_t i = 0; i <= last; ++i) {
        if (up[t[i]] != f[0]) continue;
        std::size_t k = 1;
        while (k < m && up[t[i + k]] == f[k]) ++k;
        if (k == m) return true;
    }
    return false;
}

TextFilter::TextFilter(const FileDesc& desc, std::vector<TextCondition> conditions) : desc_(&desc) {
    for (TextCondition& c : conditions) {
        if (c.field >= desc.fields.size() || desc.fields[c.field].type != FieldType::String ||
            c.fragment.empty())
            continue;
        c.fragment = cp1251ToUpper(c.fragment);
        conditions_.push_back(std::move(c));
    }
}

bool TextFilter::operator()(const std::byte* record) const {
    for (const TextCondition& c : conditions_)
        if (!containsFolded(trimmed(record, desc_->fields[c.field]), c.fragment)) return false;
    return true;
}

namespace sql {

int registerTextFunctions(sqlite3* db) {
    tables();
    return sqlite3_create_function_v2(db, kContainsFunction, 2,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, containsFunction, nullptr, nullptr, nullptr);
}

}  // namespace sql
}  // namespace pordex::files
