#include "tools/verdetto.h"

verdetto verdetto_di(const esito_compilazione& c) {
  verdetto v;
  v.rifiuto = c.rifiuto.has_value();
  v.errori = c.registro.errori.size();
  // A code left with no entry in the log still counts as one.
  if (v.errori == 0 && c.registro.codice_errore != 0) v.errori = 1;
  for (const avviso_registrato& a : c.registro.avvisi) {
    const peso p = peso_avviso(a.codice);
    if (p == peso::errore) ++v.errori;
    else if (p == peso::avviso) ++v.avvisi;
  }
  return v;
}

int stato_uscita(const verdetto& v, bool avvisi_come_errori) {
  if (v.rifiuto) return 3;
  if (v.fallito) return 2;
  if (v.errori > 0 || v.orario_impossibile || v.sessione_troncata || (avvisi_come_errori && v.avvisi > 0)) return 1;
  return 0;
}
