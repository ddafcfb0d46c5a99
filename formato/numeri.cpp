#include "formato/numeri.h"

#include <limits>

namespace {

template <typename T>
bool converti_in(double x, T& out) {
  const double r = arrotonda(x);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
        r <= static_cast<double>(std::numeric_limits<T>::max())))
    return false;  // also refuses NaN
  out = static_cast<T>(r);
  return true;
}

}  // namespace

bool converti(double x, int32_t& out) { return converti_in(x, out); }
bool converti(double x, int16_t& out) { return converti_in(x, out); }
bool converti(double x, uint8_t& out) { return converti_in(x, out); }
