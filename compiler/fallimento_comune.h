// The compiler's common failure exit.
//
// A failed read or conversion anywhere while the sources are compiled (a value
// missing at the end of the file, a field that holds no number, a number too
// wide for its field, a result that does not fit where it is stored) throws
// `fallimento_comune`. Only `memorizza_dati` catches it: it records code 25 and
// is done with both sources. It never leaves the compiler.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "formato/numeri.h"

struct fallimento_comune {
  // What went wrong, in the author's terms: what was expected and what was found.
  std::string dettaglio;
  // The row being read is still to be named before the detail (a conversion
  // inside a row knows its numbers, not the row).
  bool nomina_riga = true;
  // A row read before that the detail names as the culprit (an index into
  // `registro::righe_lette`), or -1.
  int32_t riga_colpevole = -1;
};

// `x` as a message shows it: whole when it is whole.
inline std::string numero_testo(double x) {
  char b[48];
  if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 1e15) std::snprintf(b, sizeof b, "%.0f", x);
  else std::snprintf(b, sizeof b, "%.6g", x);
  return b;
}

// `x` rounded half to even into the width of T; a value that does not fit
// takes the common failure exit, `cosa` naming it ("the board's first speed pair").
template <typename T>
T converti_o_esci(double x, std::string_view cosa = "a value") {
  T out{};
  if (!converti(x, out))
    throw fallimento_comune{std::string(cosa) + " of " + numero_testo(x) + " does not fit its field (whole numbers from " +
                            std::to_string(static_cast<int64_t>(std::numeric_limits<T>::min())) + " to " +
                            std::to_string(static_cast<int64_t>(std::numeric_limits<T>::max())) + ")"};
  return out;
}

// The result of whole-number arithmetic stored in a 32-bit field; one that
// overflows takes the common failure exit.
inline int32_t intero_o_esci(int64_t v, std::string_view cosa = "a result") {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    throw fallimento_comune{std::string(cosa) + " of " + std::to_string(v) +
                            " does not fit its 32-bit field"};
  return static_cast<int32_t>(v);
}
