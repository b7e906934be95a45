#pragma once

#include <cstdint>

namespace pordex {

// The record field types: every record is these back to back, little-endian, without gaps.
using BYTE = std::uint8_t;
using SHORT = std::int16_t;
using LONG = std::int32_t;
using REAL = double;

}  // namespace pordex
