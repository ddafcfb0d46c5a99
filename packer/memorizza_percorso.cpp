#include "packer/memorizza_percorso.h"

#include <string>

#include "build/nomi_file.h"
#include "compiler/codici_errore.h"
#include "compiler/memorizza_dati.h"
#include "packer/codici_gara.h"
#include "packer/completa_approcci.h"
#include "packer/file_imballati.h"
#include "sources/scrivi_righe.h"

namespace {

// A packing refusal: kept in the state and shown to the user. The program's
// hook ends the run; any other caller sees the code and nothing is packed.
void rifiuta(Form1& f, int32_t codice) {
  f.errore_imballaggio = codice;
  if (f.mostra_errore != nullptr) f.mostra_errore(std::to_string(codice));
}

}  // namespace

void memorizza_percorso(Form1& f, int32_t j) {
  f.salva_linea = j;
  f.codice_errore = 0;
  f.errori.clear();
  f.errore_imballaggio = 0;
  f.tabella_stazioni.fill(record_stazione{});
  // The grid and the plan are sized afresh by the line parser: a grid left
  // from an earlier build must not pass for this one's.
  f.percorso.clear();
  f.griglia_linea = piano_linea{};

  memorizza_dati(f);

  // The compiler abandoned before the route length (it has recorded its own
  // error): there is no grid to finish, stamp or pack, so nothing is written.
  if (f.percorso.size() < 2) return;

  completa_approcci(f);

  record_stazione& nomi = f.tabella_stazioni[slot_scenario];
  cella_percorso& cella_1 = f.percorso[cella_marche];
  if (nomi.intero1 != 0 || cella_1.dato1 != 0) return rifiuta(f, errore_marca_cella_1);
  nomi.intero1 = marca_tabella;
  cella_1.dato1 = marca_percorso;
  if (nomi.codice != 0 || cella_1.dato2 != 0) return rifiuta(f, errore_codice_cella_1);
  nomi.codice = codice_gara_st(f);
  cella_1.dato2 = static_cast<int16_t>(codice_gara_og(f));  // at most 6375

  if (f.salva_linea != 0) {
    // Megabytes: streamed into the file as the points are worked out.
    file_nuovo linea(file_linea_imballata(f));
    codifica_linea(f, [&linea](uint64_t posizione, std::string_view pezzo) { linea.scrivi_a(posizione, pezzo); });
    linea.concludi();
  }
  sostituisci_file(file_stazioni_imballate(f), codifica_stazioni(f));
  sostituisci_file(file_percorso_imballato(f), codifica_percorso(f));
}
