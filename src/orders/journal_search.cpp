#include "orders/journal_search.h"

#include <string>
#include <vector>

#include "data/file_layouts.h"

namespace pordex {
namespace {

std::string withoutTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

std::size_t rewField(std::string_view name) {
    const auto& fields = rewFile().fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name) return i;
    return fields.size();
}

}  // namespace

JournalSearch::JournalSearch() : test_(rewFile(), {}) {}

JournalSearch::JournalSearch(std::string_view payer, std::string_view payerBank,
                             std::string_view recipient, std::string_view purpose)
    : test_(rewFile(), {
                           {rewField("N_PLA"), withoutTrailingBlanks(payer)},
                           {rewField("N_POL"), withoutTrailingBlanks(recipient)},
                           {rewField("NAME"), withoutTrailingBlanks(purpose)},
                           {rewField("BANK_PLA"), withoutTrailingBlanks(payerBank)},
                       }) {}

JournalSearch JournalSearch::fromGlobals(const Globals& g) {
    return JournalSearch(g.NAME_P.raw(), g.NAME_BNP.raw(), g.NAME_POL.raw(), g.NAME_N.raw());
}

bool JournalSearch::accepts(const RewRecord& r) const {
    return test_(reinterpret_cast<const std::byte*>(&r));
}

files::RecordFilter JournalSearch::filter() const {
    if (empty()) return {};
    return test_;
}

void clearSearchTexts(Globals& g) {
    g.NAME_P.clear();
    g.NAME_BNP.clear();
    g.NAME_POL.clear();
    g.NAME_N.clear();
}

}  // namespace pordex
