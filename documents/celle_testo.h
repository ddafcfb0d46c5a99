// Filling the cells of the documents' tables: a text never runs over its cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A character a cell can hold: plain printable ASCII but the bar, which would
// read as the table's own ('/' instead); any other byte '?'.
inline char in_cella(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  if (c == '|') return '/';
  return c >= 0x20 && c < 0x7F ? ch : '?';
}

// `testo` as a cell holds it, cut to `larghezza` and padded with spaces to it.
inline std::string a_sinistra(std::string_view testo, std::size_t larghezza) {
  std::string out(larghezza, ' ');
  for (std::size_t i = 0; i < larghezza && i < testo.size(); ++i) out[i] = in_cella(testo[i]);
  return out;
}

// `testo` right-aligned in `larghezza`; a text that does not fit is written as
// asterisks, as a figure cut short would read as another figure.
inline std::string a_destra(std::string_view testo, std::size_t larghezza) {
  if (testo.size() > larghezza) return std::string(larghezza, '*');
  return std::string(larghezza - testo.size(), ' ') + std::string(testo);
}

inline std::string numero_a_destra(int64_t n, std::size_t larghezza) {
  return a_destra(std::to_string(n), larghezza);
}

// Metres as kilometres with three decimals: 103000 is "103.000", -500 "-0.500".
inline std::string chilometri_tre_decimali(int64_t metri) {
  const bool negativo = metri < 0;
  const uint64_t m = negativo ? 0 - static_cast<uint64_t>(metri) : static_cast<uint64_t>(metri);
  std::string decimali = std::to_string(m % 1000);
  decimali.insert(0, 3 - decimali.size(), '0');
  return (negativo ? "-" : "") + std::to_string(m / 1000) + "." + decimali;
}
