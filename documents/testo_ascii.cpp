#include "documents/testo_ascii.h"

#include <cstdint>

namespace {

// The plain letters of the Latin-1 letters U+00C0 to U+00FF, in order. A
// vowel with a grave or acute accent keeps its accent as an apostrophe; the
// multiplication and division signs are no letters.
constexpr const char* lettere_latine[64] = {
    "A'", "A'", "A",  "A",  "A",  "A",  "AE", "C",  "E'", "E'", "E",  "E",  "I'", "I'", "I",  "I",
    "D",  "N",  "O'", "O'", "O",  "O",  "O",  "?",  "O",  "U'", "U'", "U",  "U",  "Y",  "TH", "ss",
    "a'", "a'", "a",  "a",  "a",  "a",  "ae", "c",  "e'", "e'", "e",  "e",  "i'", "i'", "i",  "i",
    "d",  "n",  "o'", "o'", "o",  "o",  "o",  "?",  "o",  "u'", "u'", "u",  "u",  "y",  "th", "y",
};

// The plain text of code point `c` (outside plain ASCII).
const char* lettere(uint32_t c) {
  if (c == 0xA0) return " ";
  if (c >= 0xC0 && c <= 0xFF) return lettere_latine[c - 0xC0];
  return "?";
}

// The length of the well-formed UTF-8 sequence at `s[i]` (2 to 4) and its code
// point, or 0 when the bytes there are not one: a lone continuation byte, a
// sequence cut short, an overlong form, a surrogate or a value past U+10FFFF.
std::size_t sequenza_utf8(std::string_view s, std::size_t i, uint32_t& c) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char b0 = b(0);
  std::size_t n;
  uint32_t minimo;
  if (b0 >= 0xC2 && b0 <= 0xDF) n = 2, c = b0 & 0x1Fu, minimo = 0x80;
  else if (b0 >= 0xE0 && b0 <= 0xEF) n = 3, c = b0 & 0x0Fu, minimo = 0x800;
  else if (b0 >= 0xF0 && b0 <= 0xF4) n = 4, c = b0 & 0x07u, minimo = 0x10000;
  else return 0;
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(k) & 0xC0u) != 0x80u) return 0;
    c = (c << 6) | (b(k) & 0x3Fu);
  }
  if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string in_ascii(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  for (std::size_t i = 0; i < testo.size();) {
    const unsigned char b = static_cast<unsigned char>(testo[i]);
    if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    if (b < 0x80) {  // a control character
      out += '?';
      ++i;
      continue;
    }
    uint32_t c = 0;
    const std::size_t n = sequenza_utf8(testo, i, c);
    if (n == 0) {
      c = b;  // not UTF-8: the byte is a Latin-1 character
      i += 1;
    } else {
      i += n;
    }
    out += lettere(c);
  }
  return out;
}

std::string taglia(std::string_view testo, std::size_t larghezza) {
  return std::string(testo.substr(0, larghezza));
}

std::string visibile(std::string_view testo) {
  static constexpr char cifre[] = "0123456789abcdef";
  std::string out;
  for (char ch : testo) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      out += ch;
    } else if (b == '\\') {
      out += "\\\\";
    } else {
      out += "\\x";
      out += cifre[b >> 4];
      out += cifre[b & 0xF];
    }
  }
  return out;
}
