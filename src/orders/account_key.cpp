#include "orders/account_key.h"

#include <array>
#include <cstdlib>

#include "orders/order_numbers.h"

namespace pordex {

bool accountKeyValid(LONG bik, std::string_view account, BankPart part) {
    const auto number = plainNumber(account);
    if (!number || number->size() > 20) return false;

    std::array<int, 9> b{};
    long long v = std::llabs(static_cast<long long>(bik)) % 1000000000LL;
    for (int i = 8; i >= 0; --i, v /= 10) b[std::size_t(i)] = int(v % 10);

    // The 23 digits: bank part, then the account zero-filled to twenty digits.
    std::array<int, 23> ks{};
    if (part == BankPart::CreditInstitution) {
        ks[0] = b[6], ks[1] = b[7], ks[2] = b[8];
    } else {
        ks[0] = 0, ks[1] = b[4], ks[2] = b[5];
    }
    const std::size_t lead = 20 - number->size();
    for (std::size_t i = 0; i < number->size(); ++i) ks[3 + lead + i] = (*number)[i] - '0';

    const int entered = ks[11];
    ks[11] = 0;
    static constexpr int weights[3] = {7, 1, 3};
    int sum = 0;
    for (std::size_t i = 0; i < ks.size(); ++i) sum += ks[i] * weights[i % 3];
    return (sum % 10) * 3 % 10 == entered;
}

}  // namespace pordex
