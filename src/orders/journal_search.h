#pragma once

#include <string_view>

#include "data/globals.h"
#include "data/records.h"
#include "platform/files/record_file.h"
#include "platform/files/text_filter.h"

namespace pordex {

// The journal's record test: up to four text fragments, each looked for in one field of the
// order (payer, recipient, purpose, payer's bank), all of which must be found. Letters of
// Windows-1251, Latin and Cyrillic alike, are compared without regard to case, so «торг» finds
// «ТОРГ». A fragment's trailing blanks are dropped (the entries are blank padded); its leading
// blanks are part of what is looked for. A blank fragment tests nothing.
class JournalSearch {
  public:
    // No fragments: every order passes.
    JournalSearch();
    // Fragments in Windows-1251 as typed.
    JournalSearch(std::string_view payer, std::string_view payerBank, std::string_view recipient,
                  std::string_view purpose);
    // The four process-wide search texts NAME_P, NAME_BNP, NAME_POL, NAME_N as they stand now.
    static JournalSearch fromGlobals(const Globals& g = globals());

    bool empty() const { return test_.empty(); }

    // Whether an order passes: tested in the order payer, recipient, purpose, payer's bank.
    bool accepts(const RewRecord& r) const;

    // The same test for reading REW (empty when there is nothing to test). The record-file
    // layer runs it inside its query, so a search never loads the file.
    files::RecordFilter filter() const;

  private:
    files::TextFilter test_;
};

// The four search texts blank (the journal's "Сброс результатов поиска").
void clearSearchTexts(Globals& g = globals());

}  // namespace pordex
