#include "compiler/form1.h"

#include <string>

namespace {

errore_registrato& annota(Form1& f, int32_t codice) {
  errore_registrato e;
  e.codice = codice;
  e.file = f.sorgente_file;
  e.riga = f.sorgente_riga;
  e.colonna = f.sorgente_colonna;
  f.errori.push_back(std::move(e));
  return f.errori.back();
}

}  // namespace

void registra_errore(Form1& f, int32_t codice) {
  f.codice_errore = codice;
  annota(f, codice);
}

void registra_errore(Form1& f, int32_t codice, int32_t posizione) {
  f.codice_errore = codice;
  f.posizione_errore = posizione;
  errore_registrato& e = annota(f, codice);
  e.posizione = posizione;
  e.con_posizione = true;
}

void registra_posizione(Form1& f, int32_t posizione) {
  f.posizione_errore = posizione;
  if (!f.errori.empty()) {
    f.errori.back().posizione = posizione;
    f.errori.back().con_posizione = true;
  }
}

void dettaglia_errore(Form1& f, std::string dettaglio) {
  if (!f.errori.empty()) f.errori.back().dettaglio = std::move(dettaglio);
}

void colpevole(Form1& f, int32_t indice) {
  if (f.errori.empty() || indice < 0 || static_cast<std::size_t>(indice) >= f.righe_lette.size()) return;
  std::vector<int32_t>& righe = f.errori.back().righe_colpevoli;
  for (const int32_t r : righe)
    if (r == indice) return;
  righe.push_back(indice);
}

avviso_registrato& registra_avviso(Form1& f, int32_t codice, std::string testo) {
  avviso_registrato a;
  a.codice = codice;
  a.testo = std::move(testo);
  f.avvisi.push_back(std::move(a));
  return f.avvisi.back();
}

void colpevole_avviso(const Form1& f, avviso_registrato& a, int32_t indice) {
  if (indice >= 0 && static_cast<std::size_t>(indice) < f.righe_lette.size()) a.righe_colpevoli.push_back(indice);
}

void avviso_alla_riga(const Form1& f, avviso_registrato& a, int32_t indice) {
  if (indice < 0 || static_cast<std::size_t>(indice) >= f.righe_lette.size()) return;
  const riga_letta& r = f.righe_lette[static_cast<std::size_t>(indice)];
  a.file = r.nel_treno ? f.file_treno : f.file_linea;
  a.riga = r.riga;
  a.colonna = r.colonna;
  if (ha_posizione(r.tipo)) {
    a.con_posizione = true;
    a.posizione = r.posizione;
    // A position off the grid is said so (only the upper end is checked as rows are read).
    if (r.posizione < 0)
      a.testo += " (the row's position, " + std::to_string(r.posizione) + " m, lies before the route's start)";
    else if (!f.percorso.empty() && int64_t{r.posizione} > (static_cast<int64_t>(f.percorso.size()) - 1) * 50)
      a.testo += " (the row's position, " + std::to_string(r.posizione) + " m, lies past the route grid's end)";
  }
}
