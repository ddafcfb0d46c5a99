#include "tools/lsp/compila_editor.h"

#include <memory>

#include "analisi/avvisi.h"
#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "compiler/form1.h"
#include "compiler/memorizza_dati.h"
#include "packer/imballa.h"
#include "tools/testo_sorgenti.h"

namespace {

std::string descrizione(int32_t codice) {
  const std::string_view d = descrizione_errore(codice);
  return d.empty() ? std::string("unknown error") : std::string(d);
}

std::string posizione(bool con_posizione, int32_t metri) {
  return con_posizione ? " (at " + std::to_string(metri) + " m)" : std::string();
}

colpevole_reperto colpevole_di(const Form1& f, int32_t indice) {
  const riga_letta& r = f.righe_lette[static_cast<std::size_t>(indice)];
  return {{r.nel_treno ? f.file_treno : f.file_linea, r.riga, r.colonna}, nome_riga(f, indice)};
}

}  // namespace

esito_editor compila_editor(const sorgente_editor& linea, const sorgente_editor& treno,
                            const std::string& nome_scenario, const std::string& numero_treno) {
  esito_editor esito;
  auto f = std::make_unique<Form1>();
  f->nome_scenario = nome_scenario;
  f->numero_treno = numero_treno;

  // As `scenario check`: the sources made single-byte text, their warnings
  // first; the build with the line plan; the packing stages; the timetable.
  std::string testo_linea = linea.testo, testo_treno = treno.testo;
  std::vector<avviso_registrato> avvisi = rendi_1252(testo_linea, linea.etichetta);
  for (avviso_registrato& a : rendi_1252(testo_treno, treno.etichetta)) avvisi.push_back(std::move(a));
  memorizza_dati(*f, 1, {linea.etichetta, testo_linea}, {treno.etichetta, testo_treno});
  f->avvisi.insert(f->avvisi.begin(), avvisi.begin(), avvisi.end());
  completa_scenario(*f);
  avvisi = f->avvisi;
  for (avviso_registrato& a : avvisi_marcia(*f, {}, margine_minimo_predefinito_percento, treno.etichetta))
    avvisi.push_back(std::move(a));

  for (const errore_registrato& e : f->errori) {
    reperto r;
    r.codice = e.codice;
    r.testo = descrizione(e.codice) + posizione(e.con_posizione, e.posizione) +
              (e.dettaglio.empty() ? std::string() : "; " + e.dettaglio);
    if (!e.file.empty()) r.luogo = {e.file, e.riga, e.colonna};
    for (const int32_t c : e.righe_colpevoli)
      if (c >= 0 && static_cast<std::size_t>(c) < f->righe_lette.size()) r.colpevoli.push_back(colpevole_di(*f, c));
    esito.reperti.push_back(std::move(r));
  }
  if (f->errore_imballaggio != 0) {
    reperto r;
    r.codice = f->errore_imballaggio;
    r.testo = descrizione(r.codice) + (f->dettaglio_imballaggio.empty() ? "" : "; " + f->dettaglio_imballaggio);
    // The row that laid what stands in cell 1.
    const int32_t c = origine_di(*f, cella_marche).elemento;
    if (c >= 0 && static_cast<std::size_t>(c) < f->righe_lette.size()) r.colpevoli.push_back(colpevole_di(*f, c));
    esito.reperti.push_back(std::move(r));
  }
  for (const avviso_registrato& a : avvisi) {
    reperto r;
    r.gravita = gravita_reperto::avviso;
    r.codice = a.codice;
    const std::string_view d = descrizione_avviso(a.codice);
    r.testo = (a.testo.empty() ? std::string(d.empty() ? "unknown warning" : d) : a.testo) +
              posizione(a.con_posizione, a.posizione);
    if (!a.file.empty()) r.luogo = {a.file, a.riga, a.colonna};
    for (const int32_t c : a.righe_colpevoli)
      if (c >= 0 && static_cast<std::size_t>(c) < f->righe_lette.size()) r.colpevoli.push_back(colpevole_di(*f, c));
    esito.reperti.push_back(std::move(r));
  }
  for (const riga_letta& r : f->righe_lette) esito.righe.push_back({r.tipo, r.nel_treno, r.riga, r.colonna});
  return esito;
}
