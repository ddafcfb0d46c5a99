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

void segna_sorgente(compilazione& f, const testo_sorgente& s) {
  f.sorgente_file = s.etichetta;
  f.sorgente_riga = 0;
  f.sorgente_colonna = 0;
}

// False when the line half ended with its own error: the train half never runs.
bool compila(compilazione& f, const testo_sorgente& linea, const testo_sorgente& treno) {
  f.scenario.tabella_stazioni[slot_scenario].nome = f.scenario.nome_scenario;
  f.scenario.tabella_stazioni[slot_treno].nome = f.scenario.numero_treno;

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

scenario_compilato memorizza_dati(std::string nome_scenario, std::string numero_treno, int32_t salva_linea,
                                  const testo_sorgente& linea, const testo_sorgente& treno) {
  compilazione f;
  f.scenario.nome_scenario = std::move(nome_scenario);
  f.scenario.numero_treno = std::move(numero_treno);
  f.salva_linea = salva_linea;
  f.registro.file_linea = linea.etichetta;
  f.registro.file_treno = treno.etichetta;

  bool treno_preso = true;
  try {
    treno_preso = compila(f, linea, treno);
  } catch (const fallimento_comune& e) {
    // The common failure exit: a source that cannot be read, a failed read or
    // conversion. Nothing escapes the compiler, and it is done with both
    // sources, whichever half it left.
    registra_errore(f, errore_lettura);
    dettaglia_errore(f.registro, e.dettaglio);
    colpevole(f.registro, e.riga_colpevole);
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
  return {std::move(f.scenario), std::move(f.registro), treno_preso};
}
