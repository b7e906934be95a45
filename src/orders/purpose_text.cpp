#include "orders/purpose_text.h"

#include <cstdio>
#include <string>
#include <utility>

#include "orders/order_numbers.h"
#include "platform/runtime/codec.h"

namespace pordex {
namespace {

struct Phrases {
    std::string vatIncluded = utf8ToCp1251("в т.ч. НДС");
    std::string noVatMark = utf8ToCp1251(".НДС не");
    std::string noVat = utf8ToCp1251(".НДС не облагается.");
    std::string vatLead = utf8ToCp1251(" в т.ч. НДС ");
};

const Phrases& phrases() {
    static const Phrases p;
    return p;
}

std::string_view trimRight(std::string_view t) {
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

// Everything from the first occurrence of `mark` that has text before it is removed; one with
// only blanks before it begins the purpose and stays.
void removeFrom(std::string& text, std::string_view mark) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return;
    const std::size_t at = text.find(mark, start + 1);
    if (at == std::string::npos) return;
    text.resize(trimRight(std::string_view(text).substr(0, at)).size());
}

bool isZeroRate(std::string_view r) {
    return r == "0 " || r == "00" || r == " 0";
}

}  // namespace

std::size_t voPrefixLength(std::string_view purpose) {
    if (purpose.substr(0, 3) != "{VO") return 0;
    std::size_t i = 3;
    if (i < purpose.size() && purpose[i] == '-') ++i;
    const std::size_t digitsFrom = i;
    while (i < purpose.size() && i - digitsFrom < 10 && purpose[i] >= '0' && purpose[i] <= '9') ++i;
    if (i == digitsFrom || i >= purpose.size() || purpose[i] != '}') return 0;
    ++i;
    if (i < purpose.size() && purpose[i] == ' ') ++i;
    return i;
}

void applyVatPhrase(Str<210>& purpose, const Str<2>& rate, REAL amount) {
    const Phrases& ph = phrases();
    const std::string_view whole = purpose.trimmed();
    const std::size_t prefix = voPrefixLength(whole);
    std::string body(whole.substr(prefix));

    removeFrom(body, ph.vatIncluded);
    removeFrom(body, ph.noVatMark);

    // The cut makes room for the phrase. Where the first 175 characters hold no text (a purpose
    // that is nothing but a VO prefix) nothing is cut or appended: a phrase standing alone would
    // be taken for the start of the purpose on the next run.
    const std::string_view r = rate.raw();
    const std::string_view kept = trimRight(std::string_view(body).substr(0, 175));
    if (r != "-1" && !kept.empty() && kept.find_first_not_of(' ') != std::string_view::npos) {
        std::string text(kept);
        if (isZeroRate(r)) {
            text += ph.noVat;
        } else if (const auto n = signedNumber(r)) {
            if (const auto vat = vatAmountText(amount, *n)) {
                text += ph.vatLead;
                text += r;
                text += "%=";
                text += *vat;
            }
        }
        body = std::move(text);
    }
    purpose.assignRaw(std::string(whole.substr(0, prefix)) + body);
}

void applyVoCode(Str<210>& purpose, LONG code) {
    const std::string_view old = purpose.raw();
    char digits[16];
    const long long c = code;
    std::snprintf(digits, sizeof digits, c > 0 && c <= 99999 ? "%05lld" : "%lld", c);
    std::string text = "{VO";
    text += digits;
    text += "} ";
    text += old.substr(voPrefixLength(old));
    purpose.assignRaw(text);
}

}  // namespace pordex
