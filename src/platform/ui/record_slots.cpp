#include "platform/ui/record_slots.h"

#include <algorithm>
#include <cctype>

namespace pordex::ui {
namespace {

template <class R>
RecordSlot slotOf(Dictionary& dct, R& buffer) {
    return {&dct.access<R>(), reinterpret_cast<std::byte*>(&buffer), &fileOf<R>()};
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

RecordSlot recordSlot(Dictionary& dct, std::string_view label) {
    if (equalNoCase(label, "REW")) return slotOf(dct, dct.REW);
    if (equalNoCase(label, "BL2")) return slotOf(dct, dct.BL2);
    if (equalNoCase(label, "KBP")) return slotOf(dct, dct.KBP);
    if (equalNoCase(label, "KNN")) return slotOf(dct, dct.KNN);
    if (equalNoCase(label, "KSZ")) return slotOf(dct, dct.KSZ);
    if (equalNoCase(label, "MCO")) return slotOf(dct, dct.MCO);
    if (equalNoCase(label, "POL")) return slotOf(dct, dct.POL);
    if (equalNoCase(label, "BIK")) return slotOf(dct, dct.BIK);
    if (equalNoCase(label, "PRP")) return slotOf(dct, dct.PRP);
    return {};
}

bool primeRecord(Dictionary& dct, std::string_view label, bool keep) {
    const auto prime = [keep](auto& access) {
        access.prime(keep);
        return true;
    };
    if (equalNoCase(label, "REW")) return prime(dct.Access.REW);
    if (equalNoCase(label, "BL2")) return prime(dct.Access.BL2);
    if (equalNoCase(label, "KBP")) return prime(dct.Access.KBP);
    if (equalNoCase(label, "KNN")) return prime(dct.Access.KNN);
    if (equalNoCase(label, "KSZ")) return prime(dct.Access.KSZ);
    if (equalNoCase(label, "MCO")) return prime(dct.Access.MCO);
    if (equalNoCase(label, "POL")) return prime(dct.Access.POL);
    if (equalNoCase(label, "BIK")) return prime(dct.Access.BIK);
    if (equalNoCase(label, "PRP")) return prime(dct.Access.PRP);
    return false;
}

int fieldIndex(const files::FileDesc& desc, std::string_view name) {
    for (std::size_t i = 0; i < desc.fields.size(); ++i)
        if (equalNoCase(desc.fields[i].name, name)) return static_cast<int>(i);
    return -1;
}

int keyIndex(const files::FileDesc& desc, std::string_view name) {
    for (std::size_t i = 0; i < desc.keys.size(); ++i)
        if (equalNoCase(desc.keys[i].name, name)) return static_cast<int>(i);
    return -1;
}

FieldRef recordField(Dictionary& dct, std::string_view use) {
    const std::size_t colon = use.find(':');
    if (colon == std::string_view::npos) return {};
    const RecordSlot slot = recordSlot(dct, use.substr(0, colon));
    if (!slot.valid()) return {};
    const int f = fieldIndex(*slot.desc, use.substr(colon + 1));
    if (f < 0) return {};
    return FieldRef::field(slot.desc->fields[static_cast<std::size_t>(f)], slot.buffer);
}

void clearRecord(const files::FileDesc& desc, std::byte* record) {
    for (const files::FieldDesc& f : desc.fields) FieldRef::field(f, record).clear();
}

}  // namespace pordex::ui
