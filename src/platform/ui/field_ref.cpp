#include "platform/ui/field_ref.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/runtime/codec.h"

namespace pordex::ui {
namespace {

template <class T>
T load(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
void store(char* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

template <class T>
T clampRound(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::round(v);
    const double lo = static_cast<double>(std::numeric_limits<T>::min());
    const double hi = static_cast<double>(std::numeric_limits<T>::max());
    return static_cast<T>(std::clamp(r, lo, hi));
}

}  // namespace

std::string FieldRef::utf8() const {
    if (!valid() || !isText()) return {};
    std::string_view t = raw();
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return cp1251ToUtf8(t);
}

void FieldRef::setRaw(std::string_view cp1251) const {
    if (!valid() || !isText()) return;
    const std::size_t n = std::min(cp1251.size(), width_);
    std::memcpy(data_, cp1251.data(), n);
    std::memset(data_ + n, ' ', width_ - n);
}

void FieldRef::setUtf8(std::string_view utf8) const {
    setRaw(utf8ToCp1251(utf8));
}

double FieldRef::number() const {
    if (!valid()) return 0;
    switch (type_) {
        case files::FieldType::Byte:
            return load<BYTE>(data_);
        case files::FieldType::Short:
            return load<SHORT>(data_);
        case files::FieldType::Long:
            return load<LONG>(data_);
        case files::FieldType::Real:
            return load<REAL>(data_);
        case files::FieldType::String:
            return 0;
    }
    return 0;
}

long long FieldRef::integer() const {
    // Whole types convert exactly; only a real needs rounding into range.
    if (valid() && type_ == files::FieldType::Real) return clampRound<long long>(load<REAL>(data_));
    return static_cast<long long>(number());
}

void FieldRef::setNumber(double v) const {
    if (!valid()) return;
    switch (type_) {
        case files::FieldType::Byte:
            store(data_, clampRound<BYTE>(v));
            break;
        case files::FieldType::Short:
            store(data_, clampRound<SHORT>(v));
            break;
        case files::FieldType::Long:
            store(data_, clampRound<LONG>(v));
            break;
        case files::FieldType::Real:
            store(data_, static_cast<REAL>(v));
            break;
        case files::FieldType::String:
            break;
    }
}

void FieldRef::clear() const {
    if (!valid()) return;
    if (isText())
        std::memset(data_, ' ', width_);
    else
        std::memset(data_, 0, width_);
}

bool FieldRef::isEmpty() const {
    if (!valid()) return true;
    if (isText()) return std::all_of(data_, data_ + width_, [](char c) { return c == ' '; });
    return number() == 0;
}

void FieldRef::setBytes(std::string_view b) const {
    if (!valid()) return;
    const std::size_t n = std::min(b.size(), width_);
    std::memcpy(data_, b.data(), n);
}

}  // namespace pordex::ui
