#include "formato/testo_1252.h"

#include <array>
#include <cstdio>

namespace {

// The characters of bytes 0x80 to 0x9F; 0 where the code page defines none.
// Every other byte above 0x7F is the character of the same number.
constexpr std::array<uint16_t, 32> da_80_a_9f = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The byte of character `c` (beyond ASCII), or 0 when it has none.
unsigned char byte_di(uint32_t c) {
  if (c >= 0xA0 && c <= 0xFF) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < da_80_a_9f.size(); ++i)
    if (da_80_a_9f[i] != 0 && da_80_a_9f[i] == c) return static_cast<unsigned char>(0x80 + i);
  return 0;
}


// True when `s` is well-formed UTF-8 with at least one character beyond ASCII.
bool utf8_oltre_ascii(std::string_view s) {
  // Plain ASCII, the common case, in one pass the compiler can widen.
  unsigned char tutti = 0;
  for (const char c : s) tutti |= static_cast<unsigned char>(c);
  if (tutti < 0x80) return false;
  bool oltre = false;
  for (std::size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    uint32_t c = 0;
    const std::size_t n = sequenza_utf8(s, i, c);
    if (n == 0) return false;
    oltre = true;
    i += n;
  }
  return oltre;
}

void aggiungi_utf8(std::string& u, uint32_t c) {
  if (c < 0x80) {
    u += static_cast<char>(c);
  } else if (c < 0x800) {
    u += static_cast<char>(0xC0 | (c >> 6));
    u += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    u += static_cast<char>(0xE0 | (c >> 12));
    u += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    u += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character of byte `b`; a byte the code page leaves undefined stands for
// the control character of the same number, so that nothing is lost.
uint32_t carattere_di(unsigned char b) {
  if (b >= 0x80 && b < 0xA0 && da_80_a_9f[b - 0x80] != 0) return da_80_a_9f[b - 0x80];
  return b;
}

bool spazio(char c) { return c == ' ' || c == '\t'; }

// The field being cut: where it starts in the source, and what it holds.
struct campo_aperto {
  std::size_t inizio = 0;
  int32_t riga = 1;
  int32_t colonna_oltre = 0;       // first character beyond ASCII, 0 = none yet
  int32_t colonna_senza_forma = 0; // first character with no byte, 0 = none yet
  std::string senza_forma;
  bool aperta = false, chiusa = false;  // '[' and ']' seen
};

// Records `c` as the field ends at `fine` (the comma or line end after it).
void chiudi(const campo_aperto& c, std::string_view s, std::size_t fine, esito_1252& out) {
  if (c.colonna_oltre == 0) return;
  std::size_t a = c.inizio, b = fine;
  while (a < b && spazio(s[a])) ++a;
  while (b > a && spazio(s[b - 1])) --b;
  campo_convertito f;
  f.riga = c.riga;
  f.colonna = c.colonna_senza_forma != 0 ? c.colonna_senza_forma : c.colonna_oltre;
  f.testo.assign(s.substr(a, b - a));
  f.senza_forma = c.senza_forma;
  f.parentesi = c.aperta && c.chiusa;
  out.campi.push_back(std::move(f));
}

}  // namespace

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

esito_1252 converti_in_1252(std::string& testo) {
  esito_1252 out;
  if (!utf8_oltre_ascii(testo)) return out;
  out.convertita = true;
  // A byte-order mark says how the file is written; it is no text of it.
  const std::string sorgente = testo.substr(testo.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
  const std::string_view s = sorgente;

  testo.clear();
  campo_aperto campo;
  int32_t colonna = 1;  // of the character at `i`, in characters
  for (std::size_t i = 0; i < s.size();) {
    const char ch = s[i];
    if (static_cast<unsigned char>(ch) < 0x80) {
      testo += ch;
      if (ch == ',' || ch == '\r' || ch == '\n') {
        chiudi(campo, s, i, out);
        const bool a_capo = ch != ',';
        // CR LF is one line end, as the field reader counts lines.
        if (ch == '\r' && i + 1 < s.size() && s[i + 1] == '\n') testo += s[++i];
        ++i;
        const int32_t riga = a_capo ? campo.riga + 1 : campo.riga;
        colonna = a_capo ? 1 : colonna + 1;
        campo = campo_aperto{};
        campo.inizio = i;
        campo.riga = riga;
        continue;
      }
      if (ch == '[') campo.aperta = true;
      if (ch == ']') campo.chiusa = true;
      ++i;
      ++colonna;
      continue;
    }
    uint32_t c = 0;
    const std::size_t n = sequenza_utf8(s, i, c);  // well-formed: checked above
    const unsigned char b = byte_di(c);
    if (campo.colonna_oltre == 0) campo.colonna_oltre = colonna;
    if (b != 0) {
      testo += static_cast<char>(b);
    } else {
      testo += '?';
      if (campo.colonna_senza_forma == 0) campo.colonna_senza_forma = colonna;
      const std::string_view questo = s.substr(i, n);
      if (campo.senza_forma.find(questo) == std::string::npos) campo.senza_forma.append(questo);
    }
    i += n;
    ++colonna;
  }
  chiudi(campo, s, s.size(), out);
  return out;
}

std::string stampabile_da_1252(std::string_view testo) {
  std::string u;
  u.reserve(testo.size());
  for (const char ch : testo) {
    const auto b = static_cast<unsigned char>(ch);
    const uint32_t c = carattere_di(b);
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", b);
      u += buf;
    } else {
      aggiungi_utf8(u, c);
    }
  }
  return u;
}

std::size_t caratteri_utf8(std::string_view testo) {
  std::size_t n = 0;
  for (const char ch : testo) n += (static_cast<unsigned char>(ch) & 0xC0u) != 0x80u;
  return n;
}

std::string utf8_da_1252(std::string_view testo) {
  std::string u;
  u.reserve(testo.size());
  for (const char ch : testo) aggiungi_utf8(u, carattere_di(static_cast<unsigned char>(ch)));
  return u;
}
