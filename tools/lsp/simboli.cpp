// The outline: the sections, and in them the stations with their kilometre
// and time, the signals and slow orders of a train source; the mountain
// spans and kilometre boards of a line source.
#include <cstdio>

#include "tools/lsp/servitore.h"

namespace {

// The protocol's kinds of symbol.
constexpr int simbolo_sezione = 3;        // Namespace
constexpr int simbolo_testo = 15;         // String: a board's text
constexpr int simbolo_montagna = 19;      // Object
constexpr int simbolo_stazione = 23;      // Struct
constexpr int simbolo_segnale = 24;       // Event
constexpr int simbolo_rallentamento = 25; // Operator

std::string km(int64_t metri) {
  char b[48];
  std::snprintf(b, sizeof b, "km %.3f", static_cast<double>(metri) / 1000.0);
  return b;
}

std::string numero(const riga_sorgente& r, std::size_t i) {
  return i < r.valori.size() && r.valori[i].numero ? std::to_string(r.valori[i].valore) : std::string("?");
}

struct simbolo {
  std::string nome, dettaglio;
  int tipo = 0;
  intervallo_lsp intervallo, scelta;
  std::vector<simbolo> figli;
};

json json_simbolo(const simbolo& s) {
  json j = {{"name", s.nome.empty() ? std::string("?") : s.nome},
            {"kind", s.tipo},
            {"range", json_intervallo(s.intervallo)},
            {"selectionRange", json_intervallo(s.scelta)}};
  if (!s.dettaglio.empty()) j["detail"] = s.dettaglio;
  json figli = json::array();
  for (const simbolo& f : s.figli) figli.push_back(json_simbolo(f));
  j["children"] = std::move(figli);
  return j;
}

// A row shown in the outline, or none (false).
bool simbolo_riga(const vista_sorgente& v, const riga_sorgente& r, codifica_posizioni c, simbolo& s) {
  s.intervallo = {intervallo_campo(v, r.parola, c).inizio, intervallo_campo(v, r.ultimo(), c).fine};
  s.scelta = intervallo_campo(v, r.parola, c);
  const int64_t p = r.posizione();
  switch (r.tipo) {
    case tipo_riga::stazione: {
      s.tipo = simbolo_stazione;
      if (r.valori.size() == 17 && r.valori[16].riga == r.parola.riga) {
        s.nome = testo_campo(v, r.valori[16]);
        s.scelta = intervallo_campo(v, r.valori[16], c);
      }
      if (s.nome.empty()) s.nome = "stazione";
      s.dettaglio = km(p);
      if (r.valori.size() >= 16 && r.valori[13].numero && r.valori[14].numero && r.valori[15].numero &&
          (r.valori[13].valore != 0 || r.valori[14].valore != 0 || r.valori[15].valore != 0)) {
        char b[64];
        std::snprintf(b, sizeof b, " · %02lld:%02lld:%02lld", static_cast<long long>(r.valori[13].valore),
                      static_cast<long long>(r.valori[14].valore), static_cast<long long>(r.valori[15].valore));
        s.dettaglio += b;
      }
      return true;
    }
    case tipo_riga::segnale:
      s.tipo = simbolo_segnale;
      s.nome = "segnale";
      s.dettaglio = km(p);
      return true;
    case tipo_riga::rallentamento:
      s.tipo = simbolo_rallentamento;
      s.nome = "rallentamento " + numero(r, 1) + " km/h";
      s.dettaglio = km(p) + (r.valori.size() >= 3 && r.valori[2].numero ? " to " + km(p + r.valori[2].valore) : "");
      return true;
    case tipo_riga::montagna:
      s.tipo = simbolo_montagna;
      s.nome = "montagna";
      s.dettaglio = km(p) + (r.valori.size() >= 2 && r.valori[1].numero ? " to " + km(r.valori[1].valore) : "");
      return true;
    case tipo_riga::indicatore_km:
      s.tipo = simbolo_testo;
      s.nome = r.valori.size() >= 2 ? testo_campo(v, r.valori[1]) : "";
      if (s.nome.empty()) s.nome = "cartello_indicatore";
      s.dettaglio = km(p);
      return true;
    default:
      return false;
  }
}

bool prima(const campo_sorgente& a, const campo_sorgente& b) {
  return a.riga < b.riga || (a.riga == b.riga && a.colonna < b.colonna);
}

}  // namespace

json simboli(stato_servitore& s, const documento& d) {
  const vista_sorgente& v = d.vista;
  const codifica_posizioni c = s.codifica;
  std::vector<simbolo> cima;  // the sections, and the rows before the first
  std::size_t prossima = 0;   // the next heading
  simbolo* sezione = nullptr;
  auto apri_sezioni_fino = [&](const campo_sorgente* campo) {
    const auto& intestazioni = v.struttura.intestazioni;
    while (prossima < intestazioni.size() && (campo == nullptr || !prima(*campo, intestazioni[prossima]))) {
      const campo_sorgente& i = intestazioni[prossima++];
      simbolo x;
      x.nome = i.testo;
      x.tipo = simbolo_sezione;
      x.intervallo = x.scelta = intervallo_campo(v, i, c);
      cima.push_back(std::move(x));
      sezione = &cima.back();
    }
  };
  for (const riga_sorgente& r : v.struttura.righe) {
    apri_sezioni_fino(&r.parola);
    simbolo x;
    if (!simbolo_riga(v, r, c, x)) continue;
    if (sezione != nullptr) {
      sezione->intervallo.fine = std::max(sezione->intervallo.fine, x.intervallo.fine);
      sezione->figli.push_back(std::move(x));
    } else {
      cima.push_back(std::move(x));
    }
  }
  apri_sezioni_fino(nullptr);

  json risposta = json::array();
  if (s.simboli_annidati) {
    for (const simbolo& x : cima) risposta.push_back(json_simbolo(x));
    return risposta;
  }
  // A client that takes no tree gets a list, each row naming its section.
  auto piatto = [&](const simbolo& x, const std::string& contenitore) {
    json j = {{"name", x.nome.empty() ? std::string("?") : x.nome},
              {"kind", x.tipo},
              {"location", {{"uri", d.vista.uri}, {"range", json_intervallo(x.intervallo)}}}};
    if (!contenitore.empty()) j["containerName"] = contenitore;
    risposta.push_back(std::move(j));
  };
  for (const simbolo& x : cima) {
    piatto(x, "");
    for (const simbolo& f : x.figli) piatto(f, x.nome);
  }
  return risposta;
}
