#include "tools/lsp/compila_editor.h"

#include <memory>

#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "porta/compila.h"

namespace {

std::string descrizione(int32_t codice) {
  const std::string_view d = descrizione_errore(codice);
  return d.empty() ? std::string("unknown error") : std::string(d);
}

std::string posizione(bool con_posizione, int32_t metri) {
  return con_posizione ? " (at " + std::to_string(metri) + " m)" : std::string();
}

colpevole_reperto colpevole_di(const esito_compilazione& c, int32_t indice) {
  const riga_letta& r = c.registro.righe_lette[static_cast<std::size_t>(indice)];
  return {{r.nel_treno ? c.registro.file_treno : c.registro.file_linea, r.riga, r.colonna},
          nome_riga(c.scenario, c.registro, indice)};
}

bool nel_registro(const esito_compilazione& c, int32_t indice) {
  return indice >= 0 && static_cast<std::size_t>(indice) < c.registro.righe_lette.size();
}

gravita_reperto gravita_di(int32_t codice) {
  switch (peso_avviso(codice)) {
    case peso::errore: return gravita_reperto::errore;
    case peso::nota: return gravita_reperto::nota;
    case peso::avviso: break;
  }
  return gravita_reperto::avviso;
}

}  // namespace

esito_editor compila_editor(const sorgente_editor& linea, const sorgente_editor& treno,
                            const std::string& nome_scenario, const std::string& numero_treno) {
  esito_editor esito;
  // Through the core's door, as `scenario check`: the sources made
  // single-byte text, the build with the line plan, the packing stages, the
  // timetable with the default train.
  opzioni_compilazione o;
  o.nome_scenario = nome_scenario;
  o.numero_treno = numero_treno;
  const auto c = std::make_unique<esito_compilazione>(
      compila({linea.etichetta, linea.testo}, {treno.etichetta, treno.testo}, o));

  for (const errore_registrato& e : c->registro.errori) {
    reperto r;
    r.codice = e.codice;
    r.testo = descrizione(e.codice) + posizione(e.con_posizione, e.posizione) +
              (e.dettaglio.empty() ? std::string() : "; " + e.dettaglio);
    if (!e.file.empty()) r.luogo = {e.file, e.riga, e.colonna};
    for (const int32_t k : e.righe_colpevoli)
      if (nel_registro(*c, k)) r.colpevoli.push_back(colpevole_di(*c, k));
    esito.reperti.push_back(std::move(r));
  }
  if (c->rifiuto) {
    reperto r;
    r.codice = c->rifiuto->codice;
    r.testo = descrizione(r.codice) + (c->rifiuto->dettaglio.empty() ? "" : "; " + c->rifiuto->dettaglio);
    // The row that laid what stands in cell 1.
    const int32_t k = origine_di(c->registro, cella_marche).elemento;
    if (nel_registro(*c, k)) r.colpevoli.push_back(colpevole_di(*c, k));
    esito.reperti.push_back(std::move(r));
  }
  for (const avviso_registrato& a : c->registro.avvisi) {
    reperto r;
    // Weighed as the command line weighs it: an error, a warning or a note.
    r.gravita = gravita_di(a.codice);
    r.codice = a.codice;
    const std::string_view d = descrizione_avviso(a.codice);
    r.testo = (a.testo.empty() ? std::string(d.empty() ? "unknown warning" : d) : a.testo) +
              posizione(a.con_posizione, a.posizione);
    if (!a.file.empty()) r.luogo = {a.file, a.riga, a.colonna};
    for (const int32_t k : a.righe_colpevoli)
      if (nel_registro(*c, k)) r.colpevoli.push_back(colpevole_di(*c, k));
    esito.reperti.push_back(std::move(r));
  }
  for (const riga_letta& r : c->registro.righe_lette) esito.righe.push_back({r.tipo, r.nel_treno, r.riga, r.colonna});
  return esito;
}
