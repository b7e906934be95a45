#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files/layout.h"
#include "platform/runtime/str.h"
#include "platform/runtime/types.h"

namespace pordex::ui {

// The variable a control shows and edits: bytes of a record field (in a thread's record buffer)
// or of a program variable, with their type. Reads and writes go through memcpy, so fields of
// packed records need no alignment.
class FieldRef {
  public:
    FieldRef() = default;
    FieldRef(files::FieldType type, std::size_t width, void* data)
        : type_(type), width_(width), data_(static_cast<char*>(data)) {}

    // A field of a record held at `record`.
    static FieldRef field(const files::FieldDesc& desc, void* record) {
        return {desc.type, desc.width, static_cast<char*>(record) + desc.offset};
    }

    template <class T>
    static FieldRef of(T& variable) {
        return {files::FieldTypeOf<T>::value, sizeof(T), &variable};
    }

    bool valid() const { return data_ != nullptr; }
    files::FieldType type() const { return type_; }
    std::size_t width() const { return width_; }
    bool isText() const { return type_ == files::FieldType::String; }
    const char* data() const { return data_; }

    // A text field's bytes (Windows-1251, all `width` of them, blanks included).
    std::string_view raw() const { return {data_, isText() ? width_ : 0}; }
    // A text field's value without trailing blanks, as UTF-8.
    std::string utf8() const;
    // Stores Windows-1251 text, cut at the width and padded with blanks.
    void setRaw(std::string_view cp1251) const;
    void setUtf8(std::string_view utf8) const;

    // A numeric field's value (a text field gives 0).
    double number() const;
    long long integer() const;
    // Stores a number, rounded to the field's type and kept inside its range.
    void setNumber(double value) const;

    // Blank text or zero.
    void clear() const;
    bool isEmpty() const;

    // The field's bytes as they lie in memory (for history copies and comparisons).
    std::string bytes() const { return {data_, width_}; }
    void setBytes(std::string_view b) const;

    bool sameAs(const FieldRef& o) const { return data_ == o.data_ && width_ == o.width_; }

  private:
    files::FieldType type_ = files::FieldType::String;
    std::size_t width_ = 0;
    char* data_ = nullptr;
};

}  // namespace pordex::ui
