#pragma once

#include "data/records.h"

namespace pordex {

// The reference files the order checks read, each by one keyed fetch. A fetch fills `out` and
// returns true when a record with that key value exists; a zero or blank value is outside the
// key and is never found.
class OrderReferences {
  public:
    virtual ~OrderReferences() = default;

    virtual bool fetchMco(LONG mfo, McoRecord& out) = 0;           // MCO:KEY_1 on MFO
    virtual bool fetchBik(LONG mfo9, BikRecord& out) = 0;          // BIK:KEY_1 on MFO9
    virtual bool fetchKsz(const Str<25>& ks, KszRecord& out) = 0;  // KSZ:KEY_1 on KS
    virtual bool fetchBl2(LONG bs2, Bl2Record& out) = 0;           // BL2:KEY_1 on BS2
};

}  // namespace pordex
