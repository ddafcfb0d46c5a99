#include "compiler/form1.h"

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
