// Which sources are compiled together: a line source X_linea.txt with the
// train sources X_N-.txt beside it, each open source with the editor's text,
// the others as they are on disk.
#include <algorithm>

#include "formato/nomi_file.h"
#include "tools/lsp/servitore.h"

namespace {

// The URI's directory: all of it up to the last slash.
std::string_view cartella_uri(std::string_view uri) {
  const std::size_t barra = uri.rfind('/');
  return barra == std::string_view::npos ? std::string_view{} : uri.substr(0, barra + 1);
}

}  // namespace

famiglia_sorgenti famiglia_di(stato_servitore& s, const documento& d) {
  famiglia_sorgenti f;
  const ruolo_sorgente& r = d.vista.ruolo;
  if (!r.valido) return f;
  const std::string_view cartella = cartella_uri(d.vista.uri);
  std::vector<std::string> aperti;  // the file names of the family's open trains
  for (const auto& [uri, altro] : s.documenti) {
    const ruolo_sorgente& a = altro.vista.ruolo;
    if (!a.valido || a.scenario != r.scenario || cartella_uri(uri) != cartella) continue;
    if (!a.treno && f.linea == nullptr) f.linea = &altro.vista;
    if (a.treno) {
      f.treni.push_back(&altro.vista);
      aperti.push_back(altro.vista.nome);
    }
  }
  if (!d.percorso.empty()) {
    const std::filesystem::path dove = d.percorso.parent_path();
    if (f.linea == nullptr) f.linea = s.disco.leggi(dove / file_linea_sorgente(r.scenario));
    for (const std::filesystem::path& p : s.disco.treni(dove, r.scenario))
      if (std::find(aperti.begin(), aperti.end(), p.filename().string()) == aperti.end())
        if (const vista_sorgente* v = s.disco.leggi(p)) f.treni.push_back(v);
  }
  std::sort(f.treni.begin(), f.treni.end(),
            [](const vista_sorgente* a, const vista_sorgente* b) { return a->nome < b->nome; });
  return f;
}

const vista_sorgente* vista_di_uri(stato_servitore& s, const std::string& uri) {
  if (const auto d = s.documenti.find(uri); d != s.documenti.end()) return &d->second.vista;
  for (const auto& [percorso, voce] : s.disco.voci)
    if (voce.vista.uri == uri) return &voce.vista;
  return nullptr;
}
