#include "packer/codici_gara.h"

#include <string>

namespace {

constexpr int caratteri_gara = 25;

// Lower case in the single-byte Western code page the names are written in:
// A-Z, the accented capitals 0xC0-0xDE (but not the multiplication sign
// 0xD7), and the four capitals that page keeps in 0x80-0x9F.
unsigned char minuscola(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

// The train number, then the scenario name, in lower case, then the filler:
// always longer than the 25 characters the codes use.
std::string stringa_gara(const scenario& f) {
  std::string s = f.tabella_stazioni[slot_treno].nome + f.tabella_stazioni[slot_scenario].nome;
  for (char& c : s) c = static_cast<char>(minuscola(static_cast<unsigned char>(c)));
  s += riempitivo_gara;
  return s;
}

}  // namespace

int32_t codice_gara_og(const scenario& f) {
  const std::string s = stringa_gara(f);
  int32_t somma = 0;
  for (int i = 1; i <= caratteri_gara; ++i) somma += static_cast<unsigned char>(s[i - 1]);
  return somma;
}

int32_t codice_gara_st(const scenario& f) {
  const std::string s = stringa_gara(f);
  int32_t somma = 0;
  for (int i = 1; i <= caratteri_gara; ++i) somma += static_cast<unsigned char>(s[i - 1]) * i;
  return somma;
}
