#include "packer/imballa.h"

#include <string>

#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "packer/codici_gara.h"
#include "packer/completa_approcci.h"
#include "packer/file_imballati.h"

namespace {

// What stands in a reserved place: cell 1's value `valore` (`quale`), the
// scenario slot's `valore_slot` (`campo`), and the row that laid cell 1.
std::string occupante(const scenario& s, const registro& r, const char* quale, int32_t valore, const char* campo,
                      int32_t valore_slot) {
  std::string t;
  if (valore != 0)
    t = "cell 1's " + std::string(quale) + " holds " + std::to_string(valore) + ": " + descrivi_cella(s, r, cella_marche);
  if (valore_slot != 0)
    t += (t.empty() ? "" : "; ") + std::string("the scenario slot's ") + campo + " holds " + std::to_string(valore_slot);
  return t;
}

}  // namespace

std::optional<rifiuto_imballaggio> completa_scenario(scenario& s, registro& r) {
  // The compiler abandoned before the route length (it has recorded its own
  // error): there is no grid to finish, stamp or pack.
  if (!ha_percorso(s)) return std::nullopt;

  completa_approcci(s, r);

  record_stazione& nomi = s.tabella_stazioni[slot_scenario];
  cella_percorso& cella = s.percorso[cella_marche];
  if (nomi.intero1 != 0 || cella.dato1 != 0)
    return rifiuto_imballaggio{errore_marca_cella_1, occupante(s, r, "dato1", cella.dato1, "intero1", nomi.intero1)};
  nomi.intero1 = marca_tabella;
  cella.dato1 = marca_percorso;
  if (nomi.codice != 0 || cella.dato2 != 0)
    return rifiuto_imballaggio{errore_codice_cella_1, occupante(s, r, "dato2", cella.dato2, "codice", nomi.codice)};
  nomi.codice = codice_gara_st(s);
  cella.dato2 = static_cast<int16_t>(codice_gara_og(s));  // at most 6375
  return std::nullopt;
}

void imballa_scenario(const scenario& s, const uscita_imballati& uscita) {
  if (ha_piano(s.griglia_linea))
    uscita(file_imballato::linea, [&s](const scrivi_pezzo& scrivi) { codifica_linea(s, scrivi); });
  uscita(file_imballato::stazioni, [&s](const scrivi_pezzo& scrivi) { scrivi(0, codifica_stazioni(s)); });
  uscita(file_imballato::percorso, [&s](const scrivi_pezzo& scrivi) { scrivi(0, codifica_percorso(s)); });
}
