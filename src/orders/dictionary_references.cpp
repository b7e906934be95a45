#include "orders/dictionary_references.h"

namespace pordex {

DictionaryReferences::DictionaryReferences(Dictionary& dct) : dct_(dct) {
    dct_.Relate.MCO.open();
    dct_.Relate.BIK.open();
    dct_.Relate.KSZ.open();
    dct_.Relate.BL2.open();
}

DictionaryReferences::~DictionaryReferences() {
    dct_.Relate.BL2.close();
    dct_.Relate.KSZ.close();
    dct_.Relate.BIK.close();
    dct_.Relate.MCO.close();
}

bool DictionaryReferences::fetchMco(LONG mfo, McoRecord& out) {
    dct_.MCO.MFO = mfo;
    if (!dct_.Access.MCO.fetch(MCO_KEY_1)) return false;
    out = dct_.MCO;
    return true;
}

bool DictionaryReferences::fetchBik(LONG mfo9, BikRecord& out) {
    dct_.BIK.MFO9 = mfo9;
    if (!dct_.Access.BIK.fetch(BIK_KEY_1)) return false;
    out = dct_.BIK;
    return true;
}

bool DictionaryReferences::fetchKsz(const Str<25>& ks, KszRecord& out) {
    dct_.KSZ.KS = ks;
    if (!dct_.Access.KSZ.fetch(KSZ_KEY_1)) return false;
    out = dct_.KSZ;
    return true;
}

bool DictionaryReferences::fetchBl2(LONG bs2, Bl2Record& out) {
    dct_.BL2.BS2 = bs2;
    if (!dct_.Access.BL2.fetch(BL2_KEY_1)) return false;
    out = dct_.BL2;
    return true;
}

}  // namespace pordex
