#include "tools/sorgente_evidenziata.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "formato/testo_1252.h"

namespace {

bool a_capo(char c) { return c == '\r' || c == '\n'; }

// How a byte of the line is shown, and how many columns it takes at most.
// The compiler reads single-byte Windows-1252 text: a letter beyond ASCII is
// one character, shown as the terminal's UTF-8 for it.
bool in_1252(unsigned char c) { return c >= 0xa0 || (c >= 0x80 && c != 0x81 && c != 0x8d && c != 0x8f && c != 0x90 && c != 0x9d); }
bool stampabile(unsigned char c) { return (c >= 0x20 && c < 0x7f) || in_1252(c); }
int larghezza(unsigned char c) { return c == '\t' ? 8 : stampabile(c) ? 1 : 4; }

void mostra(std::string& out, unsigned char c) {
  if (c >= 0x80 && in_1252(c)) {
    const char byte = static_cast<char>(c);
    out += utf8_da_1252(std::string_view(&byte, 1));
  } else if (c == '\t' || stampabile(c)) {
    out += static_cast<char>(c);
  } else {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02x", c);
    out += buf;
  }
}

// What stands under a byte in the caret line: the same width, blank.
void sotto(std::string& out, unsigned char c) {
  if (c == '\t') out += '\t';
  else out.append(stampabile(c) ? 1 : 4, ' ');
}

}  // namespace

indice_righe indicizza_righe(std::string_view testo) {
  indice_righe r{testo, {0}};
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (!a_capo(testo[i])) continue;
    // CR LF is one line end, as the reader counts it.
    if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
    r.inizi.push_back(i + 1);
  }
  return r;
}

std::string sorgente_evidenziata(const indice_righe& testo, int32_t riga, int32_t colonna) {
  if (riga < 1 || static_cast<std::size_t>(riga) > testo.inizi.size()) return {};
  const std::size_t inizio = testo.inizi[static_cast<std::size_t>(riga) - 1];
  std::size_t fine = inizio;
  while (fine < testo.testo.size() && !a_capo(testo.testo[fine])) ++fine;
  const std::string_view linea = testo.testo.substr(inizio, fine - inizio);
  const std::size_t n = linea.size();
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(linea[i]); };
  // The caret's byte: n when it stands after the line's end.
  const std::size_t k = colonna < 1 ? 0 : std::min(static_cast<std::size_t>(colonna) - 1, n);

  // The stretch [a, b) shown: the whole line when it fits, else about half
  // the width before the caret and the rest after it.
  std::size_t a = 0, b = n;
  int totale = 0;
  for (std::size_t i = 0; i < n; ++i) totale += larghezza(byte(i));
  if (totale > larghezza_sorgente) {
    int usata = k < n ? larghezza(byte(k)) : 1;
    a = k;
    b = k < n ? k + 1 : n;
    while (a > 0 && usata + larghezza(byte(a - 1)) <= larghezza_sorgente / 2) usata += larghezza(byte(--a));
    while (b < n && usata + larghezza(byte(b)) <= larghezza_sorgente) usata += larghezza(byte(b++));
    while (a > 0 && usata + larghezza(byte(a - 1)) <= larghezza_sorgente) usata += larghezza(byte(--a));
  }

  const std::string numero = std::to_string(riga);
  std::string out = " " + numero + " | ";
  if (a > 0) out += "...";
  for (std::size_t i = a; i < b; ++i) mostra(out, byte(i));
  if (b < n) out += "...";
  out += '\n';
  if (colonna < 1) return out;
  out += " " + std::string(numero.size(), ' ') + " | ";
  if (a > 0) out += "   ";
  for (std::size_t i = a; i < k; ++i) sotto(out, byte(i));
  out += "^\n";
  return out;
}
