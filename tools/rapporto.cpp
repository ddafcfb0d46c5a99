#include "tools/rapporto.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/codici_errore.h"
#include "formato/testo_1252.h"
#include "tools/riepilogo.h"
#include "tools/sorgente_evidenziata.h"

namespace {

using nlohmann::ordered_json;

std::string descrizione(int32_t codice) {
  const std::string_view d = descrizione_errore(codice);
  return d.empty() ? std::string("unknown error") : std::string(d);
}

// The text of a warning: its own, else its code's description.
std::string testo_avviso(const avviso_registrato& a) {
  if (!a.testo.empty()) return a.testo;
  const std::string_view d = descrizione_avviso(a.codice);
  return d.empty() ? std::string("unknown warning") : std::string(d);
}

// What the build says of an error beyond its code's description (what a
// field held and what was expected, the row that holds a cell), where it
// records such a detail.
template <typename E>
std::string dettaglio(const E& e) {
  if constexpr (requires { e.dettaglio; }) return e.dettaglio;
  else return {};
}

void luogo(std::ostream& err, const std::string& file, int32_t riga, int32_t colonna) {
  if (file.empty()) err << "scenario";
  else if (riga > 0) err << file << ':' << riga << ':' << colonna;
  else err << file;
}

// The sources' lines, indexed once for the report; none when no source line is shown.
struct sorgenti_indicizzate {
  std::vector<std::pair<std::string_view, indice_righe>> indici;  // by label

  sorgenti_indicizzate(const esito_compilazione& c, bool con_sorgente) {
    if (con_sorgente)
      for (const sorgente_compilata& s : c.sorgenti) indici.emplace_back(s.etichetta, indicizza_righe(s.testo));
  }
  // The line and caret of a diagnostic at FILE:LINE:COLUMN, when it has such a place.
  void mostra(const std::string& file, int32_t riga, int32_t colonna, std::ostream& err) const {
    if (file.empty() || riga <= 0) return;
    for (const auto& [etichetta, indice] : indici)
      if (etichetta == file) {
        err << sorgente_evidenziata(indice, riga, colonna);
        return;
      }
  }
};

// file, riga, colonna: null where there is no place in a source.
void luogo_json(ordered_json& voce, const std::string& file, int32_t riga, int32_t colonna) {
  voce["file"] = file.empty() ? ordered_json(nullptr) : ordered_json(file);
  voce["riga"] = file.empty() || riga <= 0 ? ordered_json(nullptr) : ordered_json(riga);
  voce["colonna"] = file.empty() || riga <= 0 ? ordered_json(nullptr) : ordered_json(colonna);
}

}  // namespace

void scrivi_diagnostica(const esito_comando& e, bool con_sorgente, std::ostream& err) {
  const registro& f = e.c.registro;
  const sorgenti_indicizzate sorgenti(e.c, con_sorgente);
  // A finding that an error names as its cause ("... (warning 356)") is told
  // before the errors, so the author meets the cause before its consequence.
  const auto nomina = [](const std::string& d, const std::string& nome) {
    for (std::size_t i = d.find(nome); i != std::string::npos; i = d.find(nome, i + 1)) {
      const std::size_t dopo = i + nome.size();
      if (dopo == d.size() || d[dopo] < '0' || d[dopo] > '9') return true;
    }
    return false;
  };
  std::vector<bool> cause;
  cause.reserve(f.avvisi.size());
  for (const avviso_registrato& a : f.avvisi) {
    const std::string nome = nome_avviso(a.codice);
    cause.push_back(std::any_of(f.errori.begin(), f.errori.end(),
                                [&](const errore_registrato& r) { return nomina(r.dettaglio, nome); }) ||
                    (e.c.rifiuto && nomina(e.c.rifiuto->dettaglio, nome)));
  }
  const auto scrivi_avvisi = [&](bool di_causa) {
    for (std::size_t i = 0; i < f.avvisi.size(); ++i) {
      if (cause[i] != di_causa) continue;
      const avviso_registrato& a = f.avvisi[i];
      luogo(err, a.file, a.riga, a.colonna);
      err << ": " << nome_avviso(a.codice) << ": " << testo_avviso(a);
      if (a.con_posizione) err << " (at " << a.posizione << " m)";
      err << '\n';
      sorgenti.mostra(a.file, a.riga, a.colonna, err);
    }
  };
  scrivi_avvisi(true);
  for (const errore_registrato& r : f.errori) {
    luogo(err, r.file, r.riga, r.colonna);
    err << ": error " << r.codice << ": " << descrizione(r.codice);
    if (r.con_posizione) err << " (at " << r.posizione << " m)";
    if (const std::string d = dettaglio(r); !d.empty()) err << "; " << d;
    err << '\n';
    sorgenti.mostra(r.file, r.riga, r.colonna, err);
  }
  if (const auto& r = e.c.rifiuto)
    err << "scenario: error " << r->codice << ": " << descrizione(r->codice)
        << (r->dettaglio.empty() ? "" : "; " + r->dettaglio) << "\n";
  scrivi_avvisi(false);
}

ordered_json esito_json(const esito_comando& e) {
  const registro& f = e.c.registro;
  ordered_json esito;
  esito["codice_errore"] = f.codice_errore;
  esito["posizione_errore"] = f.posizione_errore;
  ordered_json errori = ordered_json::array();
  for (const errore_registrato& r : f.errori) {
    ordered_json voce;
    voce["codice"] = r.codice;
    voce["posizione"] = r.con_posizione ? ordered_json(r.posizione) : ordered_json(nullptr);
    luogo_json(voce, r.file, r.riga, r.colonna);
    voce["descrizione"] = descrizione(r.codice);
    const std::string d = dettaglio(r);
    voce["dettaglio"] = d.empty() ? ordered_json(nullptr) : ordered_json(d);
    errori.push_back(std::move(voce));
  }
  esito["errori"] = std::move(errori);
  ordered_json avvisi = ordered_json::array();
  for (const avviso_registrato& a : f.avvisi) {
    ordered_json voce;
    voce["codice"] = a.codice;
    const std::string_view d = descrizione_avviso(a.codice);
    voce["descrizione"] = d.empty() ? std::string("unknown warning") : std::string(d);
    voce["testo"] = testo_avviso(a);
    // The tool's weight of it: "errore" (it withholds the packed files), "avviso" or "nota".
    const peso p = peso_avviso(a.codice);
    voce["gravita"] = p == peso::errore ? "errore" : p == peso::nota ? "nota" : "avviso";
    luogo_json(voce, a.file, a.riga, a.colonna);
    voce["posizione"] = a.con_posizione ? ordered_json(a.posizione) : ordered_json(nullptr);
    avvisi.push_back(std::move(voce));
  }
  esito["avvisi"] = std::move(avvisi);
  const auto& rifiuto = e.c.rifiuto;
  esito["errore"] = rifiuto ? ordered_json(std::to_string(rifiuto->codice)) : ordered_json(nullptr);
  // What stood in the reserved place, and the row that laid it.
  esito["dettaglio_errore"] =
      rifiuto && !rifiuto->dettaglio.empty() ? ordered_json(rifiuto->dettaglio) : ordered_json(nullptr);
  // What was packed, or would have been: the names of its files.
  esito["scenario"] = utf8_da_1252(e.c.scenario.nome_scenario);
  esito["treno"] = utf8_da_1252(e.c.scenario.numero_treno);
  ordered_json files = ordered_json::array();
  for (const std::filesystem::path& p : e.scritti) files.push_back(p.string());
  esito["files"] = std::move(files);
  esito["riepilogo"] = json_riepilogo(riassumi(e.c, verdetto_di(e.c)));
  return esito;
}
