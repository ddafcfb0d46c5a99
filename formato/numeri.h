// Number conversions of the build.
//
// Every real-to-integer conversion rounds half to even (2025 / 50 = 40.5 gives 40).
// Conversions that must fit their width report failure; the "low bits" stores
// keep only the low bits, on purpose.
#pragma once

#include <cmath>
#include <cstdint>

// Rounds half to even (the default rounding mode of the machine).
inline double arrotonda(double x) { return std::nearbyint(x); }

// Rounds `x` half to even into the width of `out`; false (and `out` untouched)
// when the rounded value does not fit or `x` is not a number.
bool converti(double x, int32_t& out);
bool converti(double x, int16_t& out);
bool converti(double x, uint8_t& out);

// The low 16 bits of `v`, as a signed 16-bit value.
inline int16_t bassi_16(int64_t v) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v) & 0xFFFFu));
}
// The low 8 bits of `v`.
inline uint8_t bassi_8(int64_t v) { return static_cast<uint8_t>(static_cast<uint64_t>(v) & 0xFFu); }
