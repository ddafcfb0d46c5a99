#include "tools/rapporto.h"

#include "compiler/codici_errore.h"

namespace {

std::string descrizione(int32_t codice) {
  const std::string_view d = descrizione_errore(codice);
  return d.empty() ? std::string("unknown error") : std::string(d);
}

}  // namespace

int stato_uscita(const Form1& f) {
  if (f.errore_imballaggio != 0) return 3;
  return f.errori.empty() && f.codice_errore == 0 ? 0 : 1;
}

void scrivi_diagnostica(const Form1& f, std::ostream& err) {
  for (const errore_registrato& e : f.errori) {
    const std::string& file = e.file;
    if (file.empty()) err << "scenario";
    else if (e.riga > 0) err << file << ':' << e.riga << ':' << e.colonna;
    else err << file;
    err << ": error " << e.codice << ": " << descrizione(e.codice);
    if (e.con_posizione) err << " (at " << e.posizione << " m)";
    err << '\n';
  }
  if (f.errore_imballaggio != 0)
    err << "scenario: error " << f.errore_imballaggio << ": " << descrizione(f.errore_imballaggio)
        << "\n";
}

nlohmann::ordered_json esito_json(const Form1& f, const std::vector<std::filesystem::path>& scritti) {
  using nlohmann::ordered_json;
  ordered_json esito;
  esito["codice_errore"] = f.codice_errore;
  esito["posizione_errore"] = f.posizione_errore;
  ordered_json errori = ordered_json::array();
  for (const errore_registrato& e : f.errori) {
    const std::string& file = e.file;
    ordered_json voce;
    voce["codice"] = e.codice;
    voce["posizione"] = e.con_posizione ? ordered_json(e.posizione) : ordered_json(nullptr);
    voce["file"] = file.empty() ? ordered_json(nullptr) : ordered_json(file);
    voce["riga"] = file.empty() || e.riga <= 0 ? ordered_json(nullptr) : ordered_json(e.riga);
    voce["colonna"] = file.empty() || e.riga <= 0 ? ordered_json(nullptr) : ordered_json(e.colonna);
    voce["descrizione"] = descrizione(e.codice);
    errori.push_back(std::move(voce));
  }
  esito["errori"] = std::move(errori);
  esito["errore"] = f.errore_imballaggio != 0 ? ordered_json(std::to_string(f.errore_imballaggio))
                                               : ordered_json(nullptr);
  ordered_json files = ordered_json::array();
  for (const std::filesystem::path& p : scritti) files.push_back(p.string());
  esito["files"] = std::move(files);
  return esito;
}
