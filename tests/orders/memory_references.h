#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

#include "orders/order_references.h"
#include "platform/runtime/codec.h"

namespace pordex::test {

// The reference files in memory, keyed as the record-file layer keys them: unique keys keep the
// first record, a zero or blank value is outside the key, KSZ's text key ignores case and
// trailing blanks, and of equal KSZ keys the first record added is the one found.
class MemoryReferences : public OrderReferences {
  public:
    void addMco(LONG mfo, std::string_view ksUtf8) {
        McoRecord r;
        r.MFO = mfo;
        r.KS = ksUtf8;
        if (mfo != 0) mco_.emplace(mfo, r);
    }
    void addBik(LONG mfo9, std::string_view nameUtf8) {
        BikRecord r;
        r.MFORKC = 0;
        r.MFO9 = mfo9;
        r.NAME = nameUtf8;
        if (mfo9 != 0) bik_.emplace(mfo9, r);
    }
    void addKsz(LONG mfo, std::string_view ksUtf8, std::string_view ksNewUtf8, LONG mfoNew = 0) {
        KszRecord r;
        r.MFO = mfo;
        r.KS = ksUtf8;
        r.MFO_N = mfoNew;
        r.KS_N = ksNewUtf8;
        addKsz(r);
    }
    void addKsz(const KszRecord& r) {
        if (!r.KS.blank()) ksz_.emplace(keyOf(r.KS), r);
    }
    void addBl2(LONG bs2) {
        if (bs2 != 0) bl2_.emplace(bs2, Bl2Record{bs2});
    }
    void addMco(const McoRecord& r) {
        if (r.MFO != 0) mco_.emplace(r.MFO, r);
    }
    void addBik(const BikRecord& r) {
        if (r.MFO9 != 0) bik_.emplace(r.MFO9, r);
    }

    bool fetchMco(LONG mfo, McoRecord& out) override { return find(mco_, mfo, out); }
    bool fetchBik(LONG mfo9, BikRecord& out) override { return find(bik_, mfo9, out); }
    bool fetchKsz(const Str<25>& ks, KszRecord& out) override {
        ++fetches;
        const auto it = ksz_.lower_bound(keyOf(ks));
        if (it == ksz_.end() || it->first != keyOf(ks)) return false;
        out = it->second;
        return true;
    }
    bool fetchBl2(LONG bs2, Bl2Record& out) override { return find(bl2_, bs2, out); }

    int fetches = 0;

  private:
    static std::string keyOf(const Str<25>& ks) { return cp1251ToUpper(ks.trimmed()); }

    template <class Map, class R>
    bool find(const Map& m, LONG key, R& out) {
        ++fetches;
        const auto it = m.find(key);
        if (it == m.end()) return false;
        out = it->second;
        return true;
    }

    std::unordered_map<LONG, McoRecord> mco_;
    std::unordered_map<LONG, BikRecord> bik_;
    std::multimap<std::string, KszRecord> ksz_;
    std::unordered_map<LONG, Bl2Record> bl2_;
};

}  // namespace pordex::test
