#include "compiler/memorizza_dati.h"

#include <string>

#include "compiler/codici_errore.h"
#include "compiler/controlli_finali.h"
#include "compiler/fallimento_comune.h"
#include "compiler/parser_linea.h"
#include "compiler/parser_treno.h"

namespace {

// The text of a source that is there; one that could not be read takes the
// common failure exit.
std::string_view testo_di(const testo_sorgente& s) {
  if (s.stato != stato_sorgente::letta)
    throw fallimento_comune{s.stato == stato_sorgente::mancante ? "the source is missing" : "the source could not be read",
                            false};
  return s.testo;
}

void segna_sorgente(Form1& f, const testo_sorgente& s) {
  f.sorgente_file = s.etichetta;
  f.sorgente_riga = 0;
  f.sorgente_colonna = 0;
}

// False when the line half ended with its own error: the train half never runs.
bool compila(Form1& f, const testo_sorgente& linea, const testo_sorgente& treno) {
  f.tabella_stazioni[slot_scenario].nome = f.nome_scenario;
  f.tabella_stazioni[slot_treno].nome = f.numero_treno;

  if (linea.stato == stato_sorgente::mancante) {
    registra_errore(f, errore_linea_mancante);
    return false;
  }
  segna_sorgente(f, linea);
  const esito_linea esito = leggi_linea(f, testo_di(linea));
  if (!esito.prosegui) return false;

  // The train source is taken up without a test that it is there.
  segna_sorgente(f, treno);
  leggi_treno(f, testo_di(treno), esito.prossimo_cartello);
  return true;
}

}  // namespace

bool memorizza_dati(Form1& f, int32_t salva_linea, const testo_sorgente& linea, const testo_sorgente& treno) {
  f.salva_linea = salva_linea;
  f.codice_errore = 0;
  f.errori.clear();
  f.avvisi.clear();
  f.righe_lette.clear();
  f.riga_in_posa = nessuna_riga;
  f.errore_imballaggio = 0;
  f.dettaglio_imballaggio.clear();
  f.file_linea = linea.etichetta;
  f.file_treno = treno.etichetta;
  f.tabella_stazioni.fill(record_stazione{});
  // The grid and the plan are sized afresh by the line parser: a grid left
  // from an earlier build must not pass for this one's.
  f.percorso.clear();
  f.origini_celle.clear();
  f.griglia_linea = piano_linea{};

  bool treno_preso = true;
  try {
    treno_preso = compila(f, linea, treno);
  } catch (const fallimento_comune& e) {
    // The common failure exit: a source that cannot be read, a failed read or
    // conversion. Nothing escapes the compiler, and it is done with both
    // sources, whichever half it left.
    registra_errore(f, errore_lettura);
    dettaglia_errore(f, e.dettaglio);
    colpevole(f, e.riga_colpevole);
  } catch (...) {
    registra_errore(f, errore_lettura);  // no memory for the grid
  }
  f.riga_in_posa = nessuna_riga;
  // What the rows show as a whole; the build never reads it, and nothing of
  // it may stop the build.
  try {
    controlla_scenario(f);
  } catch (...) {
  }
  // Errors recorded later (the approach pass) name no source location.
  f.sorgente_file.clear();
  f.sorgente_riga = 0;
  f.sorgente_colonna = 0;
  return treno_preso;
}
