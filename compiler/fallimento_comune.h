// The compiler's common failure exit.
//
// A failed read or conversion anywhere while the sources are compiled (a value
// missing at the end of the file, a field that holds no number, a number too
// wide for its field, a result that does not fit where it is stored) throws
// `fallimento_comune`. Only `memorizza_dati` catches it: it records code 25 and
// is done with both sources. It never leaves the compiler.
#pragma once

#include <cstdint>
#include <limits>

#include "compiler/numeri.h"

struct fallimento_comune {};

// `x` rounded half to even into the width of T; a value that does not fit
// takes the common failure exit.
template <typename T>
T converti_o_esci(double x) {
  T out{};
  if (!converti(x, out)) throw fallimento_comune{};
  return out;
}

// The result of whole-number arithmetic stored in a 32-bit field; one that
// overflows takes the common failure exit.
inline int32_t intero_o_esci(int64_t v) {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    throw fallimento_comune{};
  return static_cast<int32_t>(v);
}
