#include "packer/imballa.h"

#include <string>

#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "packer/codici_gara.h"
#include "packer/completa_approcci.h"
#include "packer/file_imballati.h"

namespace {

// A packing refusal: kept in the state and shown to the user. The program's
// hook ends the run; any other caller sees the code and nothing is packed.
bool rifiuta(Form1& f, int32_t codice, std::string dettaglio) {
  f.errore_imballaggio = codice;
  f.dettaglio_imballaggio = std::move(dettaglio);
  if (f.mostra_errore != nullptr) f.mostra_errore(std::to_string(codice));
  return false;
}

// What stands in a reserved place: cell 1's value `valore` (`quale`), the
// scenario slot's `valore_slot` (`campo`), and the row that laid cell 1.
std::string occupante(const Form1& f, const char* quale, int32_t valore, const char* campo, int32_t valore_slot) {
  std::string t;
  if (valore != 0)
    t = "cell 1's " + std::string(quale) + " holds " + std::to_string(valore) + ": " + descrivi_cella(f, cella_marche);
  if (valore_slot != 0)
    t += (t.empty() ? "" : "; ") + std::string("the scenario slot's ") + campo + " holds " + std::to_string(valore_slot);
  return t;
}

}  // namespace

bool completa_scenario(Form1& f) {
  // The compiler abandoned before the route length (it has recorded its own
  // error): there is no grid to finish, stamp or pack.
  if (f.percorso.size() < 2) return false;

  completa_approcci(f);

  record_stazione& nomi = f.tabella_stazioni[slot_scenario];
  cella_percorso& cella = f.percorso[cella_marche];
  if (nomi.intero1 != 0 || cella.dato1 != 0)
    return rifiuta(f, errore_marca_cella_1, occupante(f, "dato1", cella.dato1, "intero1", nomi.intero1));
  nomi.intero1 = marca_tabella;
  cella.dato1 = marca_percorso;
  if (nomi.codice != 0 || cella.dato2 != 0)
    return rifiuta(f, errore_codice_cella_1, occupante(f, "dato2", cella.dato2, "codice", nomi.codice));
  nomi.codice = codice_gara_st(f);
  cella.dato2 = static_cast<int16_t>(codice_gara_og(f));  // at most 6375
  return true;
}

void imballa_scenario(const Form1& f, const uscita_imballati& uscita) {
  if (f.salva_linea != 0) uscita(file_imballato::linea, [&f](const scrivi_pezzo& scrivi) { codifica_linea(f, scrivi); });
  uscita(file_imballato::stazioni, [&f](const scrivi_pezzo& scrivi) { scrivi(0, codifica_stazioni(f)); });
  uscita(file_imballato::percorso, [&f](const scrivi_pezzo& scrivi) { scrivi(0, codifica_percorso(f)); });
}
