#pragma once

#include <string>
#include <string_view>

namespace pordex {

// Windows-1251 <-> UTF-8. Lossless for every byte value: the one byte the code page leaves
// undefined (0x98) travels as U+0098, so stored records come back byte for byte.
std::string cp1251ToUtf8(std::string_view cp1251);

// Characters outside Windows-1251 (and malformed UTF-8) become '?'.
std::string utf8ToCp1251(std::string_view utf8);

// Windows-1251 case folding of one byte: every letter pair of the code page (Latin, А-Я/а-я,
// Ё/ё and the other Cyrillic pairs Ђђ Ѓѓ Љљ Њњ Ќќ Ћћ Џџ Ўў Јј Ґґ Єє Її Іі Ѕѕ); other bytes
// stay as they are.
unsigned char cp1251Upper(unsigned char c);
unsigned char cp1251Lower(unsigned char c);
std::string cp1251ToUpper(std::string_view cp1251);
std::string cp1251ToLower(std::string_view cp1251);

}  // namespace pordex
