// Diagnostics as you type: every source changed is compiled with the others
// of its family, and every finding of `scenario check` is published where it
// stands, with the rows it names as its culprits.
#include <algorithm>
#include <map>

#include "formato/nomi_file.h"
#include "tools/lsp/servitore.h"

namespace {

// The end (one past, from 1) of the field that begins at column `colonna`
// of the compiler's line: a number ends at a blank, a text runs to the next
// comma or line end, blanks at its end left out.
int32_t fine_campo(std::string_view riga, int32_t colonna) {
  const auto inizio = static_cast<std::size_t>(std::max(colonna, 1) - 1);
  if (inizio >= riga.size()) return colonna;
  auto cifra = [&](std::size_t i) { return i < riga.size() && riga[i] >= '0' && riga[i] <= '9'; };
  std::size_t i = inizio;
  if (cifra(i) || (riga[i] == '-' && cifra(i + 1))) {
    while (i < riga.size() && riga[i] != ',' && riga[i] != ' ' && riga[i] != '\t') ++i;
  } else {
    while (i < riga.size() && riga[i] != ',') ++i;
    while (i > inizio && (riga[i - 1] == ' ' || riga[i - 1] == '\t')) --i;
  }
  return static_cast<int32_t>(i) + 1;
}

intervallo_lsp intervallo_luogo(const vista_sorgente& v, int32_t riga, int32_t colonna, codifica_posizioni c) {
  riga = std::max(riga, 1);
  colonna = std::max(colonna, 1);
  const int32_t fine = fine_campo(v.riga_compilatore(riga), colonna);
  return {posizione_compilatore(v.testo, riga, colonna, c), posizione_compilatore(v.testo, riga, fine, c)};
}

json json_diagnostica(const diagnostica_lsp& d) {
  json j;
  j["range"] = json_intervallo(d.intervallo);
  j["severity"] = d.gravita == gravita_reperto::errore ? 1 : d.gravita == gravita_reperto::avviso ? 2 : 3;
  if (d.codice != 0) j["code"] = d.codice;
  j["source"] = "scenario";
  j["message"] = d.testo;
  if (!d.colpevoli.empty()) {
    json legati = json::array();
    for (const diagnostica_lsp::colpevole& c : d.colpevoli)
      legati.push_back({{"location", {{"uri", c.posto.uri}, {"range", json_intervallo(c.posto.intervallo)}}},
                        {"message", c.testo}});
    j["relatedInformation"] = std::move(legati);
  }
  return j;
}

diagnostica_lsp nota_in_cima(std::string testo, gravita_reperto g = gravita_reperto::nota) {
  diagnostica_lsp d;
  d.gravita = g;
  d.testo = std::move(testo);
  return d;
}

// The findings of one pair, each on the source where it stands: by the URI
// of the view it is shown in.
using per_uri = std::map<std::string, std::vector<diagnostica_lsp>>;

void compila_coppia(const vista_sorgente& linea, const vista_sorgente* treno, codifica_posizioni c, per_uri& esito,
                    std::vector<riga_compilata>* righe_linea, std::vector<riga_compilata>* righe_treno) {
  // A line with no train is compiled with an empty train source, named so
  // that nothing found in it is shown.
  const sorgente_editor l{linea.nome, linea.byte};
  const sorgente_editor t = treno != nullptr ? sorgente_editor{treno->nome, treno->byte}
                                             : sorgente_editor{"(no train source)", ""};
  const esito_editor e = compila_editor(l, t, linea.ruolo.scenario, treno != nullptr ? treno->ruolo.numero : "1");
  auto vista = [&](const std::string& file) -> const vista_sorgente* {
    if (file.empty()) return nullptr;
    if (file == linea.nome) return &linea;
    if (treno != nullptr && file == treno->nome) return treno;
    return nullptr;
  };
  for (const reperto& r : e.reperti) {
    diagnostica_lsp d;
    d.gravita = r.gravita;
    d.codice = r.codice;
    d.testo = r.testo;
    for (const colpevole_reperto& k : r.colpevoli)
      if (const vista_sorgente* v = vista(k.luogo.file))
        d.colpevoli.push_back({{v->uri, intervallo_luogo(*v, k.luogo.riga, k.luogo.colonna, c)}, k.testo});
    // A finding with no place in a source stands at its first culprit, else
    // at the top of the train source.
    const vista_sorgente* dove = vista(r.luogo.file);
    luogo_reperto luogo = r.luogo;
    if (dove == nullptr && r.luogo.file.empty() && !r.colpevoli.empty()) {
      luogo = r.colpevoli.front().luogo;
      dove = vista(luogo.file);
    }
    if (dove == nullptr && r.luogo.file.empty() && treno != nullptr) {
      dove = treno;
      luogo = {dove->nome, 1, 1};
    }
    // What stands in the empty train of a line alone, or is of that train and
    // no place, is not the line's.
    if (dove == nullptr) continue;
    d.intervallo = intervallo_luogo(*dove, luogo.riga, luogo.colonna, c);
    esito[dove->uri].push_back(std::move(d));
  }
  if (righe_linea != nullptr || righe_treno != nullptr)
    for (const riga_compilata& r : e.righe) {
      std::vector<riga_compilata>* dove = r.nel_treno ? righe_treno : righe_linea;
      if (dove != nullptr) dove->push_back(r);
    }
}

bool uguali(const diagnostica_lsp& a, const diagnostica_lsp& b) {
  return a.intervallo == b.intervallo && a.codice == b.codice && a.testo == b.testo;
}

// The diagnostics of every source of `d`'s family, by URI.
void compila_famiglia(stato_servitore& s, const documento& d, per_uri& esito) {
  const famiglia_sorgenti f = famiglia_di(s, d);
  const codifica_posizioni c = s.codifica;
  const ruolo_sorgente& r = d.vista.ruolo;
  // Every source of the family gets its list, maybe empty, and its rows applied afresh.
  for (const vista_sorgente* v : f.treni) esito[v->uri], s.righe_applicate.erase(v->uri);
  if (f.linea != nullptr) esito[f.linea->uri], s.righe_applicate.erase(f.linea->uri);
  if (f.linea == nullptr) {
    for (const vista_sorgente* t : f.treni)
      esito[t->uri].push_back(nota_in_cima("not checked: a train source is compiled after its line, and there is no " +
                                               file_linea_sorgente(r.scenario) + " beside it",
                                           gravita_reperto::avviso));
    return;
  }
  auto troppo_grande = [&](const vista_sorgente& v) {
    if (!v.troppo_grande) return false;
    esito[v.uri].push_back(
        nota_in_cima("not checked: larger than a source may be (16 MiB)", gravita_reperto::errore));
    return true;
  };
  if (troppo_grande(*f.linea)) return;
  if (f.treni.empty()) {
    compila_coppia(*f.linea, nullptr, c, esito, &s.righe_applicate[f.linea->uri], nullptr);
    return;
  }
  // The line with each of its trains: its own findings are the same with
  // every train but for those that a train's rows bring about, which say
  // with which train.
  std::vector<std::pair<diagnostica_lsp, std::vector<std::string>>> della_linea;
  bool prima = true;
  for (const vista_sorgente* t : f.treni) {
    if (troppo_grande(*t)) continue;
    per_uri coppia;
    compila_coppia(*f.linea, t, c, coppia, prima ? &s.righe_applicate[f.linea->uri] : nullptr,
                   &s.righe_applicate[t->uri]);
    prima = false;
    for (auto& [uri, lista] : coppia) {
      if (uri != f.linea->uri) {
        for (diagnostica_lsp& x : lista) esito[uri].push_back(std::move(x));
        continue;
      }
      for (diagnostica_lsp& x : lista) {
        auto stessa = std::find_if(della_linea.begin(), della_linea.end(),
                                   [&](const auto& v) { return uguali(v.first, x); });
        if (stessa == della_linea.end()) della_linea.push_back({std::move(x), {t->ruolo.numero}});
        else stessa->second.push_back(t->ruolo.numero);
      }
    }
  }
  const std::size_t coppie = f.treni.size();
  for (auto& [x, numeri] : della_linea) {
    if (coppie > 1 && numeri.size() < coppie) {
      std::string con = " (with train ";
      for (std::size_t i = 0; i < numeri.size(); ++i) con += (i == 0 ? "" : ", ") + numeri[i];
      x.testo += con + ")";
    }
    esito[f.linea->uri].push_back(std::move(x));
  }
}

}  // namespace

json json_posizione(posizione_lsp p) { return {{"line", p.riga}, {"character", p.carattere}}; }

json json_intervallo(const intervallo_lsp& i) {
  return {{"start", json_posizione(i.inizio)}, {"end", json_posizione(i.fine)}};
}

bool posizione_da_json(const json& j, posizione_lsp& p) {
  if (!j.is_object()) return false;
  const auto riga = j.find("line"), carattere = j.find("character");
  if (riga == j.end() || carattere == j.end() || !riga->is_number_integer() || !carattere->is_number_integer())
    return false;
  // An unsigned number past the signed range is taken as the largest.
  auto valore = [](const json& n) {
    return n.is_number_unsigned() ? static_cast<int64_t>(std::min<uint64_t>(n.get<uint64_t>(), INT64_MAX))
                                  : n.get<int64_t>();
  };
  p = {valore(*riga), valore(*carattere)};
  return true;
}

bool intervallo_da_json(const json& j, intervallo_lsp& i) {
  return j.is_object() && j.contains("start") && j.contains("end") && posizione_da_json(j["start"], i.inizio) &&
         posizione_da_json(j["end"], i.fine);
}

intervallo_lsp intervallo_campo(const vista_sorgente& v, const campo_sorgente& c, codifica_posizioni cod) {
  return {posizione_compilatore(v.testo, c.riga, c.colonna, cod), posizione_compilatore(v.testo, c.riga, c.fine, cod)};
}

std::string testo_campo(const vista_sorgente& v, const campo_sorgente& c) {
  const posizione_lsp a = posizione_compilatore(v.testo, c.riga, c.colonna, codifica_posizioni::utf8);
  const posizione_lsp b = posizione_compilatore(v.testo, c.riga, c.fine, codifica_posizioni::utf8);
  const std::string_view riga = v.testo.riga(static_cast<std::size_t>(a.riga));
  const auto da = static_cast<std::size_t>(a.carattere), a_fine = static_cast<std::size_t>(b.carattere);
  return da <= a_fine && a_fine <= riga.size() ? std::string(riga.substr(da, a_fine - da)) : std::string();
}

std::vector<json> compila_e_pubblica(stato_servitore& s) {
  per_uri esito;
  for (const std::string& uri : s.da_compilare) {
    const auto d = s.documenti.find(uri);
    if (d == s.documenti.end() || esito.contains(uri)) continue;
    if (!d->second.vista.ruolo.valido) {
      s.righe_applicate.erase(uri);
      esito[uri].push_back(nota_in_cima("not checked: a line source is named NAME_linea.txt and a train source "
                                        "NAME_NUMBER-.txt, and this name is neither"));
      continue;
    }
    compila_famiglia(s, d->second, esito);
  }
  s.da_compilare.clear();
  std::vector<json> notifiche;
  for (auto& [uri, lista] : esito) {
    const auto d = s.documenti.find(uri);
    if (d == s.documenti.end()) continue;  // shown only for the sources open in the editor
    json diagnostiche = json::array();
    for (const diagnostica_lsp& x : lista) diagnostiche.push_back(json_diagnostica(x));
    notifiche.push_back({{"jsonrpc", "2.0"},
                         {"method", "textDocument/publishDiagnostics"},
                         {"params", {{"uri", uri}, {"version", d->second.versione}, {"diagnostics", diagnostiche}}}});
    s.diagnostiche[uri] = std::move(lista);
  }
  return notifiche;
}
