#include "compiler/compilazione.h"

namespace {

void al_campo(const compilazione& f, errore_registrato& e) {
  e.file = f.sorgente_file;
  e.riga = f.sorgente_riga;
  e.colonna = f.sorgente_colonna;
}

}  // namespace

void registra_errore(compilazione& f, int32_t codice) { al_campo(f, registra_errore(f.registro, codice)); }

void registra_errore(compilazione& f, int32_t codice, int32_t posizione) {
  al_campo(f, registra_errore(f.registro, codice, posizione));
}

void posa_elemento(compilazione& f, int64_t c) {
  if (c < 0 || static_cast<std::size_t>(c) >= f.registro.origini_celle.size()) return;
  origine_cella& o = f.registro.origini_celle[static_cast<std::size_t>(c)];
  o.elemento = f.riga_in_posa;
  o.da_approcci = false;
}

void posa_segno(compilazione& f, int64_t c) {
  if (c < 0 || static_cast<std::size_t>(c) >= f.registro.origini_celle.size()) return;
  f.registro.origini_celle[static_cast<std::size_t>(c)].segno = f.riga_in_posa;
}
