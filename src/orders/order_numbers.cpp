#include "orders/order_numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace pordex {
namespace {

std::string_view withoutBlanks(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view t) {
    if (t.empty()) return false;
    for (char c : t)
        if (!isDigit(c)) return false;
    return true;
}

using Wide = unsigned __int128;

std::string wideToText(Wide v) {
    std::string s;
    do {
        s.insert(s.begin(), char('0' + int(v % 10)));
        v /= 10;
    } while (v != 0);
    return s;
}

// Decimal digits divided by a small divisor, rounded half up; digits without leading zeros.
std::string divideRounded(const std::string& digits, unsigned divisor) {
    std::string q;
    unsigned long long rem = 0;
    for (char c : digits) {
        rem = rem * 10 + unsigned(c - '0');
        const unsigned long long d = rem / divisor;
        rem %= divisor;
        if (!q.empty() || d != 0) q.push_back(char('0' + d));
    }
    if (q.empty()) q = "0";
    if (2 * rem >= divisor) {
        std::size_t i = q.size();
        while (i > 0 && q[i - 1] == '9') q[--i] = '0';
        if (i == 0)
            q.insert(q.begin(), '1');
        else
            ++q[i - 1];
    }
    return q;
}

}  // namespace

std::optional<std::string> plainNumber(std::string_view text) {
    text = withoutBlanks(text);
    if (text.empty()) return std::string("0");
    if (!allDigits(text)) return std::nullopt;
    while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
    return std::string(text);
}

std::optional<long> signedNumber(std::string_view text) {
    text = withoutBlanks(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (!allDigits(text)) return std::nullopt;
    while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
    if (text.size() > 9) return std::nullopt;  // beyond any rate a field can hold
    long v = 0;
    for (char c : text) v = v * 10 + (c - '0');
    return negative ? -v : v;
}

std::optional<std::string> vatAmountText(REAL amount, long rate) {
    if (!std::isfinite(amount) || rate <= -100 || rate > 1000000) return std::nullopt;

    // The amount's shortest decimal form: mantissa digits M and exponent e, |amount| = M * 10^e.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(amount));
    std::string mantissa;
    int exponent = 0;
    bool fraction = false;
    for (const char* p = buf; p != res.ptr; ++p) {
        if (*p == '.') {
            fraction = true;
        } else if (*p == 'e' || *p == 'E') {
            const char* e = p + 1;
            if (e != res.ptr && *e == '+') ++e;
            int power = 0;
            std::from_chars(e, res.ptr, power);
            exponent += power;
            break;
        } else {
            mantissa.push_back(*p);
            if (fraction) --exponent;
        }
    }

    // Kopecks = |amount| * 100 * |rate| / (rate + 100), exactly, then rounded half up.
    const unsigned divisor = unsigned(rate + 100);
    Wide p = 0;
    for (char c : mantissa) p = p * 10 + unsigned(c - '0');  // at most 17 digits
    p *= 100u * unsigned(std::labs(rate));
    std::string kopecks;
    if (exponent >= 0) {
        kopecks = divideRounded(wideToText(p) + std::string(std::size_t(exponent), '0'), divisor);
    } else if (-exponent > 22) {
        kopecks = "0";  // the amount is below 10^-6 roubles: far below half a kopeck
    } else {
        Wide d = divisor;
        for (int i = 0; i < -exponent; ++i) d *= 10;
        Wide q = p / d;
        if (2 * (p % d) >= d) ++q;
        kopecks = wideToText(q);
    }

    if (kopecks.size() < 3) kopecks.insert(0, 3 - kopecks.size(), '0');
    std::string text =
        kopecks.substr(0, kopecks.size() - 2) + "." + kopecks.substr(kopecks.size() - 2);
    const bool negative = (amount < 0) != (rate < 0);
    if (negative && kopecks.find_first_not_of('0') != std::string::npos) text.insert(0, "-");
    return text;
}

}  // namespace pordex
