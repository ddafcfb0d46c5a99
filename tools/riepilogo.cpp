#include "tools/riepilogo.h"

#include <cstdio>

#include "analisi/marcia.h"
#include "formato/testo_1252.h"

namespace {

std::string quanti(std::size_t n, const char* cosa) {
  return std::to_string(n) + " " + cosa + (n == 1 ? "" : "s");
}

}  // namespace

std::string ora_del_giorno(int32_t secondi, bool completa) {
  const int64_t t = secondi < 0 ? -static_cast<int64_t>(secondi) : secondi;
  char buf[48];
  if (completa || t % 60 != 0)
    std::snprintf(buf, sizeof buf, "%s%02lld:%02lld:%02lld", secondi < 0 ? "-" : "", static_cast<long long>(t / 3600),
                  static_cast<long long>(t / 60 % 60), static_cast<long long>(t % 60));
  else
    std::snprintf(buf, sizeof buf, "%s%02lld:%02lld", secondi < 0 ? "-" : "", static_cast<long long>(t / 3600),
                  static_cast<long long>(t / 60 % 60));
  return buf;
}

riepilogo riassumi(const esito_compilazione& c, const verdetto& v) {
  const scenario& f = c.scenario;
  riepilogo r;
  // The kinds up to the first without a keyword: a kind added later is counted too.
  for (int k = 0; k < 256; ++k) {
    const tipo_riga t = static_cast<tipo_riga>(k);
    const std::string_view parola = parola_riga(t);
    if (parola.empty()) break;
    int n = 0;
    for (const riga_letta& l : c.registro.righe_lette) n += l.tipo == t;
    r.righe.emplace_back(parola, n);
  }
  r.lunghezza_m = f.tabella_stazioni[slot_treno_percorso].valore2;
  for (const stazione_marcia& s : stazioni_del_percorso(f))
    if (s.codice != 0) r.fermate.push_back({s.nome, s.posizione_m, s.codice});
  r.errori = v.errori + (v.rifiuto ? 1 : 0);
  r.avvisi = v.avvisi;
  return r;
}

std::string lunghezza_percorso_testo(int32_t metri) {
  if (metri < 1000) return std::to_string(metri) + " m";
  char km[48];
  std::snprintf(km, sizeof km, "%.1f km", metri / 1000.0);
  return km;
}

std::string testo_riepilogo(const riepilogo& r) {
  std::string righe;
  for (const auto& [parola, n] : r.righe)
    if (n > 0) righe += (righe.empty() ? "" : ", ") + std::to_string(n) + " " + std::string(parola);
  std::string fermate;
  for (const fermata_riepilogo& s : r.fermate)
    fermate += (fermate.empty() ? ": " : ", ") + stampabile_da_1252(s.nome) + " " + ora_del_giorno(s.ora_s);
  return "rows read: " + (righe.empty() ? std::string("none") : righe) + "\n" + "route " + lunghezza_percorso_testo(r.lunghezza_m) + ", " +
         quanti(r.fermate.size(), "stop") + fermate + "; " + quanti(r.errori, "error") + ", " +
         quanti(r.avvisi, "warning") + "\n";
}

nlohmann::ordered_json json_riepilogo(const riepilogo& r) {
  using nlohmann::ordered_json;
  ordered_json j;
  ordered_json righe = ordered_json::object();
  for (const auto& [parola, n] : r.righe) righe[std::string(parola)] = n;
  j["righe"] = std::move(righe);
  j["lunghezza_percorso"] = r.lunghezza_m;
  ordered_json fermate = ordered_json::array();
  for (const fermata_riepilogo& s : r.fermate)
    fermate.push_back({{"nome", utf8_da_1252(s.nome)}, {"posizione", s.posizione}, {"ora", ora_del_giorno(s.ora_s, true)}});
  j["fermate"] = std::move(fermate);
  j["errori"] = r.errori;
  j["avvisi"] = r.avvisi;
  return j;
}
