#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>

#include "platform/runtime/str.h"
#include "platform/runtime/types.h"

namespace pordex::files {

// What the record-file layer knows of a file: its fields at their byte offsets and its keys.
enum class FieldType { Byte, Short, Long, Real, String };

struct FieldDesc {
    std::string_view name;  // "N_SC_A": the column name
    FieldType type;
    std::size_t offset;
    std::size_t width;  // bytes in the record
};

struct KeyDesc {
    std::string_view name;         // "KEY_4": the index name
    std::string_view description;  // "Rew:key_4": named in the duplicate-key message
    std::size_t field;             // index into FileDesc::fields
    bool unique;
    bool opt;     // zero or blank values are not entered in the key
    bool nocase;  // text compares without regard to case
    // Order within equal key values (before file order): a field index, or -1 for none.
    int thenField = -1;
    bool thenDescending = false;
};

struct FileDesc {
    std::string_view label;  // "REW": the table name
    std::string_view path;   // "DATA/Rew.dat", relative to the working folder
    std::size_t recordSize;
    std::span<const FieldDesc> fields;
    std::span<const KeyDesc> keys;
};

template <class T>
struct FieldTypeOf;
template <>
struct FieldTypeOf<BYTE> : std::integral_constant<FieldType, FieldType::Byte> {};
template <>
struct FieldTypeOf<SHORT> : std::integral_constant<FieldType, FieldType::Short> {};
template <>
struct FieldTypeOf<LONG> : std::integral_constant<FieldType, FieldType::Long> {};
template <>
struct FieldTypeOf<REAL> : std::integral_constant<FieldType, FieldType::Real> {};
template <std::size_t N>
struct FieldTypeOf<Str<N>> : std::integral_constant<FieldType, FieldType::String> {};

}  // namespace pordex::files

// Describes member F of record type R.
#define PORDEX_FIELD(R, F)                                                                       \
    ::pordex::files::FieldDesc {                                                                 \
#F, ::pordex::files::FieldTypeOf < decltype(R::F)> ::value, offsetof(R, F), sizeof(R::F) \
    }
