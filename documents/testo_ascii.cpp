#include "documents/testo_ascii.h"

#include <cstdint>

#include "formato/testo_1252.h"

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
