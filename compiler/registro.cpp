#include "compiler/registro.h"

#include <string>

errore_registrato& registra_errore(registro& r, int32_t codice) {
  r.codice_errore = codice;
  errore_registrato e;
  e.codice = codice;
  r.errori.push_back(std::move(e));
  return r.errori.back();
}

errore_registrato& registra_errore(registro& r, int32_t codice, int32_t posizione) {
  errore_registrato& e = registra_errore(r, codice);
  r.posizione_errore = posizione;
  e.posizione = posizione;
  e.con_posizione = true;
  return e;
}

void registra_posizione(registro& r, int32_t posizione) {
  r.posizione_errore = posizione;
  if (!r.errori.empty()) {
    r.errori.back().posizione = posizione;
    r.errori.back().con_posizione = true;
  }
}

void dettaglia_errore(registro& r, std::string dettaglio) {
  if (!r.errori.empty()) r.errori.back().dettaglio = std::move(dettaglio);
}

void colpevole(registro& r, int32_t indice) {
  if (r.errori.empty() || indice < 0 || static_cast<std::size_t>(indice) >= r.righe_lette.size()) return;
  std::vector<int32_t>& righe = r.errori.back().righe_colpevoli;
  for (const int32_t x : righe)
    if (x == indice) return;
  righe.push_back(indice);
}

void colpevole_avviso(const registro& r, avviso_registrato& a, int32_t indice) {
  if (indice >= 0 && static_cast<std::size_t>(indice) < r.righe_lette.size()) a.righe_colpevoli.push_back(indice);
}

avviso_registrato& registra_avviso(registro& r, int32_t codice, std::string testo) {
  avviso_registrato a;
  a.codice = codice;
  a.testo = std::move(testo);
  r.avvisi.push_back(std::move(a));
  return r.avvisi.back();
}

void avviso_alla_riga(const registro& r, const scenario& s, avviso_registrato& a, int32_t indice) {
  if (indice < 0 || static_cast<std::size_t>(indice) >= r.righe_lette.size()) return;
  const riga_letta& rl = r.righe_lette[static_cast<std::size_t>(indice)];
  a.file = rl.nel_treno ? r.file_treno : r.file_linea;
  a.riga = rl.riga;
  a.colonna = rl.colonna;
  if (ha_posizione(rl.tipo)) {
    a.con_posizione = true;
    a.posizione = rl.posizione;
    // A position off the grid is said so (only the upper end is checked as rows are read).
    if (rl.posizione < 0)
      a.testo += " (the row's position, " + std::to_string(rl.posizione) + " m, lies before the route's start)";
    else if (!s.percorso.empty() && int64_t{rl.posizione} > (static_cast<int64_t>(s.percorso.size()) - 1) * 50)
      a.testo += " (the row's position, " + std::to_string(rl.posizione) + " m, lies past the route grid's end)";
  }
}

int32_t riga_dello_slot(const registro& r, int slot) {
  for (std::size_t i = 0; i < r.righe_lette.size(); ++i) {
    const riga_letta& rl = r.righe_lette[i];
    if ((rl.tipo == tipo_riga::stazione || rl.tipo == tipo_riga::indicatore_km) && rl.valore == slot)
      return static_cast<int32_t>(i);
  }
  return nessuna_riga;
}
