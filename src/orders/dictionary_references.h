#pragma once

#include "data/dictionary.h"
#include "orders/order_references.h"

namespace pordex {

// The order checks' reference files on a window thread's data store. Each lookup does what the
// form's checks do on the thread: it sets the key field in the thread's record buffer and fetches
// by the file's key (MCO:KEY_1, BIK:KEY_1, KSZ:KEY_1, BL2:KEY_1), so the buffer then holds the
// record found. A failed read has been reported by the file manager and counts as not found.
//
// While it lives it holds MCO, BIK, KSZ and BL2 open through the thread's relation managers
// (the opens are counted, so a form that opened them too keeps them as they were).
class DictionaryReferences : public OrderReferences {
  public:
    explicit DictionaryReferences(Dictionary& dct);
    ~DictionaryReferences() override;
    DictionaryReferences(const DictionaryReferences&) = delete;
    DictionaryReferences& operator=(const DictionaryReferences&) = delete;

    bool fetchMco(LONG mfo, McoRecord& out) override;
    bool fetchBik(LONG mfo9, BikRecord& out) override;
    bool fetchKsz(const Str<25>& ks, KszRecord& out) override;
    bool fetchBl2(LONG bs2, Bl2Record& out) override;

  private:
    Dictionary& dct_;
};

}  // namespace pordex
