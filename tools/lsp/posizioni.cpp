#include "tools/lsp/posizioni.h"

#include <algorithm>
#include <array>

#include "formato/testo_1252.h"

namespace {

// The character at `s[i]`: its length in bytes and its code point. A byte
// that begins no well-formed sequence counts as one character of its own.
std::size_t carattere(std::string_view s, std::size_t i, uint32_t& c) {
  const auto b = static_cast<unsigned char>(s[i]);
  c = b;
  if (b < 0x80) return 1;
  const std::size_t n = sequenza_utf8(s, i, c);
  if (n == 0) c = b;
  return n == 0 ? 1 : n;
}

std::size_t unita(uint32_t c, std::size_t byte, codifica_posizioni cod) {
  switch (cod) {
    case codifica_posizioni::utf8: return byte;
    case codifica_posizioni::utf16: return c >= 0x10000 ? 2 : 1;
    case codifica_posizioni::utf32: return 1;
  }
  return 1;
}

std::size_t riga_valida(const testo_righe& t, int64_t r) {
  if (r < 0) return 0;
  return static_cast<std::size_t>(std::min<int64_t>(r, static_cast<int64_t>(t.righe()) - 1));
}

// The bytes the code page gives the characters U+0152 and up: 0x80 to 0x9F
// less the five it leaves undefined.
struct tabella_1252 {
  std::array<uint32_t, 32> caratteri{};
  tabella_1252() {
    for (int b = 0x80; b < 0xA0; ++b) {
      const std::string u = utf8_da_1252(std::string(1, static_cast<char>(b)));
      uint32_t c = 0;
      carattere(u, 0, c);
      caratteri[static_cast<std::size_t>(b - 0x80)] = c;
    }
  }
};

}  // namespace

bool utf8_valido(std::string_view testo) {
  for (std::size_t i = 0; i < testo.size();) {
    if (static_cast<unsigned char>(testo[i]) < 0x80) {
      ++i;
      continue;
    }
    uint32_t c = 0;
    const std::size_t n = sequenza_utf8(testo, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::vector<std::size_t> inizi_righe(std::string_view testo) {
  std::vector<std::size_t> inizi{0};
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '\r') {
      if (i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
      inizi.push_back(i + 1);
    } else if (testo[i] == '\n') {
      inizi.push_back(i + 1);
    }
  }
  return inizi;
}

void testo_righe::imposta(std::string nuovo) {
  testo = std::move(nuovo);
  inizi = inizi_righe(testo);
}

std::string_view testo_righe::riga(std::size_t r) const {
  if (r >= inizi.size()) return {};
  const std::size_t inizio = inizi[r];
  std::size_t fine = inizio;
  while (fine < testo.size() && testo[fine] != '\r' && testo[fine] != '\n') ++fine;
  return std::string_view(testo).substr(inizio, fine - inizio);
}

std::size_t byte_di(const testo_righe& t, posizione_lsp p, codifica_posizioni c) {
  if (p.riga < 0) return 0;
  if (p.riga >= static_cast<int64_t>(t.righe())) return t.testo.size();
  const auto r = static_cast<std::size_t>(p.riga);
  const std::string_view riga = t.riga(r);
  std::size_t i = 0;
  int64_t contate = 0;
  while (i < riga.size()) {
    uint32_t cp = 0;
    const std::size_t n = carattere(riga, i, cp);
    const auto u = static_cast<int64_t>(unita(cp, n, c));
    if (contate + u > p.carattere) break;
    contate += u;
    i += n;
  }
  return t.inizi[r] + i;
}

posizione_lsp posizione_di_byte(const testo_righe& t, std::size_t r, std::size_t byte, codifica_posizioni c) {
  r = riga_valida(t, static_cast<int64_t>(r));
  const std::string_view riga = t.riga(r);
  const std::size_t fino = byte < t.inizi[r] ? 0 : std::min(byte - t.inizi[r], riga.size());
  int64_t contate = 0;
  for (std::size_t i = 0; i < fino;) {
    uint32_t cp = 0;
    const std::size_t n = carattere(riga, i, cp);
    contate += static_cast<int64_t>(unita(cp, n, c));
    i += n;
  }
  return {static_cast<int64_t>(r), contate};
}

posizione_lsp posizione_compilatore(const testo_righe& t, int32_t riga, int32_t colonna, codifica_posizioni c) {
  const std::size_t r = riga_valida(t, int64_t{riga} - 1);
  const std::string_view testo_riga = t.riga(r);
  int64_t salta = std::max<int64_t>(int64_t{colonna} - 1, 0) + (t.bom && r == 0 ? 1 : 0);
  std::size_t i = 0;
  while (i < testo_riga.size() && salta > 0) {
    uint32_t cp = 0;
    i += carattere(testo_riga, i, cp);
    --salta;
  }
  return posizione_di_byte(t, r, t.inizi[r] + i, c);
}

luogo_compilatore luogo_di(const testo_righe& t, posizione_lsp p, codifica_posizioni c) {
  const std::size_t r = riga_valida(t, p.riga);
  const std::size_t byte = p.riga >= static_cast<int64_t>(t.righe()) ? t.inizi[r] + t.riga(r).size() : byte_di(t, p, c);
  const std::string_view testo_riga = t.riga(r);
  int32_t caratteri = 0;
  for (std::size_t i = 0; t.inizi[r] + i < byte && i < testo_riga.size();) {
    uint32_t cp = 0;
    i += carattere(testo_riga, i, cp);
    ++caratteri;
  }
  if (t.bom && r == 0 && caratteri > 0) --caratteri;
  return {static_cast<int32_t>(r) + 1, caratteri + 1};
}

std::string a_byte_singolo(std::string_view utf8) {
  static const tabella_1252 tabella;
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    uint32_t cp = 0;
    i += carattere(utf8, i, cp);
    if (cp < 0x100) {
      out += static_cast<char>(cp);
      continue;
    }
    const auto trovato = std::find(tabella.caratteri.begin(), tabella.caratteri.end(), cp);
    out += trovato == tabella.caratteri.end() ? '?' : static_cast<char>(0x80 + (trovato - tabella.caratteri.begin()));
  }
  return out;
}

std::string byte_del_compilatore(std::string_view utf8) {
  std::string testo(utf8);
  converti_in_1252(testo);
  return testo;
}
