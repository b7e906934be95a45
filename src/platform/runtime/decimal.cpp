#include "platform/runtime/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace pordex {

std::optional<DecimalDigits> roundDecimal(double value, int decimals) {
    if (!std::isfinite(value)) return std::nullopt;
    decimals = std::clamp(decimals, 0, 40);

    // The shortest digits that read back as the same double, and the power of ten of the
    // first: "1.005e+00", "4.07028104e+19". Large values keep the digits written, not the
    // binary tail (4.07028104e19 is 40702810400000000000, not ...16384).
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = text.find('e');
    std::string mantissa;
    for (char c : text.substr(0, e))
        if (c != '.') mantissa += c;
    int exponent = 0;
    std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
    if (text[e + 1] == '-') exponent = -exponent;

    // Digits before and after the point.
    std::string intPart;
    std::string fracPart;
    const int intDigits = exponent + 1;
    if (intDigits <= 0) {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-intDigits), '0') + mantissa;
    } else if (static_cast<std::size_t>(intDigits) >= mantissa.size()) {
        intPart =
            mantissa + std::string(static_cast<std::size_t>(intDigits) - mantissa.size(), '0');
    } else {
        intPart = mantissa.substr(0, static_cast<std::size_t>(intDigits));
        fracPart = mantissa.substr(static_cast<std::size_t>(intDigits));
    }

    bool roundUp = false;
    if (fracPart.size() > static_cast<std::size_t>(decimals)) {
        roundUp = fracPart[static_cast<std::size_t>(decimals)] >= '5';
        fracPart.resize(static_cast<std::size_t>(decimals));
    } else {
        fracPart.append(static_cast<std::size_t>(decimals) - fracPart.size(), '0');
    }

    // Carry through the kept digits, fraction first.
    std::string digits = intPart + fracPart;
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }

    DecimalDigits out;
    out.fraction = digits.substr(digits.size() - fracPart.size());
    out.integer = digits.substr(0, digits.size() - fracPart.size());
    const std::size_t firstNonZero = out.integer.find_first_not_of('0');
    out.integer = firstNonZero == std::string::npos ? "0" : out.integer.substr(firstNonZero);
    const bool zero =
        out.integer == "0" && out.fraction.find_first_not_of('0') == std::string::npos;
    out.negative = std::signbit(value) && !zero;
    return out;
}

}  // namespace pordex
