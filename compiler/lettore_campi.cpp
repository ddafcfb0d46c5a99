#include "compiler/lettore_campi.h"

namespace {

bool spazio(char c) { return c == ' ' || c == '\t'; }
bool a_capo(char c) { return c == '\r' || c == '\n'; }

// Steps over one line end (CR LF counts as one) at `l.pos`.
void passa_a_capo(lettore_campi& l) {
  if (l.testo[l.pos] == '\r' && l.pos + 1 < l.testo.size() && l.testo[l.pos + 1] == '\n') ++l.pos;
  ++l.pos;
  ++l.riga;
  l.inizio_riga = l.pos;
}

// Moves to the start of the next field.
void al_campo(lettore_campi& l) {
  const std::string_view t = l.testo;
  for (;;) {
    while (l.pos < t.size() && spazio(t[l.pos])) ++l.pos;
    // After a comma the next field begins here, even if it is empty.
    if (l.virgola || l.pos >= t.size() || !a_capo(t[l.pos])) return;
    passa_a_capo(l);
  }
}

// Consumes what ends the field that stopped at `l.pos`: a comma or a line end.
void chiudi_campo(lettore_campi& l) {
  const std::string_view t = l.testo;
  l.virgola = false;
  if (l.pos < t.size()) {
    if (t[l.pos] == ',') {
      ++l.pos;
      l.virgola = true;
    } else if (a_capo(t[l.pos])) {
      passa_a_capo(l);
    }
  }
  al_campo(l);
}

void segna_inizio(lettore_campi& l) {
  l.inizio_ultimo = l.pos;
  l.ultimo.riga = l.riga;
  l.ultimo.colonna = static_cast<int32_t>(l.pos - l.inizio_riga + 1);
}

}  // namespace

lettore_campi apri_campi(std::string_view testo) {
  lettore_campi l;
  l.testo = testo;
  al_campo(l);
  return l;
}

bool leggi_testo(lettore_campi& l, std::string& out) {
  if (fine_campi(l)) return false;
  segna_inizio(l);
  const std::string_view t = l.testo;
  std::size_t fine = l.pos;
  while (fine < t.size() && t[fine] != ',' && !a_capo(t[fine])) ++fine;
  std::size_t ultimo = fine;
  while (ultimo > l.pos && spazio(t[ultimo - 1])) --ultimo;
  out.assign(t.data() + l.pos, ultimo - l.pos);
  l.testo_ultimo = t.substr(l.pos, ultimo - l.pos);
  l.pos = fine;
  chiudi_campo(l);
  return true;
}

bool leggi_numero(lettore_campi& l, int64_t minimo, int64_t massimo, int64_t& out) {
  if (fine_campi(l)) return false;
  segna_inizio(l);
  const std::string_view t = l.testo;
  std::size_t fine = l.pos;
  while (fine < t.size() && t[fine] != ',' && !spazio(t[fine]) && !a_capo(t[fine])) ++fine;
  l.testo_ultimo = t.substr(l.pos, fine - l.pos);

  std::size_t i = l.pos;
  const bool negativo = i < fine && t[i] == '-';
  if (negativo) ++i;
  bool valido = i < fine;
  int64_t valore = 0;
  for (; i < fine && valido; ++i) {
    const char c = t[i];
    if (c < '0' || c > '9') {
      valido = false;
    } else if (valore <= (int64_t{1} << 40)) {  // beyond any width; stop growing
      valore = valore * 10 + (c - '0');
    }
  }
  if (negativo) valore = -valore;

  // A number ends at a blank too: blanks, then a comma or a line end, still
  // close it; anything else begins the next field ("17   12   30").
  l.pos = fine;
  while (l.pos < t.size() && spazio(t[l.pos])) ++l.pos;
  chiudi_campo(l);

  if (!valido || valore < minimo || valore > massimo) return false;
  out = valore;
  return true;
}
