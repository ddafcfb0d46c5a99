// The smaller of two numbers; the first when they are equal.
#pragma once

template <typename T>
constexpr T minimo(T x, T y) {
  return x > y ? y : x;
}
