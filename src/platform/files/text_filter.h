#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/layout.h"

struct sqlite3;

namespace pordex::files {

// One condition of a TextFilter: the text field `field` (an index into FileDesc::fields),
// trailing blanks aside, contains `fragment` (Windows-1251; its own blanks count), with the
// letters of the code page, Latin and Cyrillic, compared without regard to case.
struct TextCondition {
    std::size_t field;
    std::string fragment;
};

// A record test made of text conditions, all of which must hold. It works as a RecordFilter
// anywhere; handed to RecordFile::read it is run by the store itself, inside its query, on the
// stored texts: a record that fails is never copied out or converted, and a read that finds few
// records that pass scans the file in storage order rather than seeking record by record
// through the key.
class TextFilter {
  public:
    // Conditions on fields that are not texts are dropped; so are empty fragments.
    TextFilter(const FileDesc& desc, std::vector<TextCondition> conditions);

    bool operator()(const std::byte* record) const;

    const FileDesc& desc() const { return *desc_; }
    // The conditions, fragments in upper case.
    const std::vector<TextCondition>& conditions() const { return conditions_; }
    bool empty() const { return conditions_.empty(); }

  private:
    const FileDesc* desc_;
    std::vector<TextCondition> conditions_;
};

// Whether `upperFragment` (in upper case already) occurs in the Windows-1251 `text`, the letters
// of `text` folded to upper case. An empty fragment occurs in every text.
bool containsFolded(std::string_view text, std::string_view upperFragment);

namespace sql {

// The SQL function of a TextCondition: pdx_contains(column, fragment) is 1 when the stored
// UTF-8 text holds the fragment, given as a blob of Windows-1251 bytes in upper case.
inline constexpr const char* kContainsFunction = "pdx_contains";
int registerTextFunctions(sqlite3* db);

}  // namespace sql
}  // namespace pordex::files
