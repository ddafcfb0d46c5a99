// Scenarios for the derived documents' tests: compiled from source texts, or
// laid by hand on a `scenario` the way the compiler lays them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <string>

#include "formato/scenario.h"
#include "porta/compila.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace prova_derivati {

// The scenario of the two source texts compiled and finished as the packer
// does, under the built-in scenario's name and train number.
inline scenario compila_testi(const std::string& linea, const std::string& treno) {
  opzioni_compilazione o;
  o.nome_scenario = "Corvana_Telmisa";
  o.numero_treno = "739";
  o.piano_linea = false;
  o.da_utf8 = false;
  o.con_marcia = false;
  return compila({"linea", linea}, {"treno", treno}, o).scenario;
}

// The built-in sources, as the packer writes them.
struct sorgenti_incorporate {
  std::string linea, treno;
};
inline sorgenti_incorporate incorporate() { return {dati_linea(), dati_treno()}; }

inline scenario compila_incorporato() {
  const sorgenti_incorporate s = incorporate();
  return compila_testi(s.linea, s.treno);
}

// ---- By hand ---------------------------------------------------------------

inline int64_t cella(double x) { return static_cast<int64_t>(std::nearbyint(x)); }

// A route `lunghezza` metres long: its grid sized and all cells empty.
inline scenario percorso_vuoto(int32_t lunghezza, const std::string& treno = "12") {
  scenario f;
  f.nome_scenario = "Prova";
  f.numero_treno = treno;
  f.percorso.resize(static_cast<std::size_t>(cella((lunghezza + 7000) / 50.0) + 1));
  f.tabella_stazioni[slot_treno_percorso].valore2 = lunghezza;
  return f;
}

// The line speed limit `kmh` from `da` metres on, to the last filled cell (N - 3).
inline void metti_velocita(scenario& f, int32_t da, int32_t kmh) {
  for (int64_t c = cella(da / 50.0); c + 3 < static_cast<int64_t>(f.percorso.size()); ++c)
    f.percorso[c].velocita = static_cast<uint8_t>(cella(kmh / 5.0));
}

// A station in the next free slot: an ordinary kind, its span around its
// position, its point on the grid. `codice` is its time of day in seconds.
inline void metti_stazione(scenario& f, int32_t posizione, const std::string& nome, int32_t codice = 0,
                           int32_t lunghezza = 400) {
  int s = slot_prima_stazione;
  while (s < slot_cartelli && (!f.tabella_stazioni[s].nome.empty() || f.tabella_stazioni[s].marca != 0)) ++s;
  record_stazione& r = f.tabella_stazioni[s];
  r.marca = 12;
  r.valore3 = posizione;
  r.valore1 = posizione - lunghezza / 2;
  r.valore2 = posizione + lunghezza / 2;
  r.codice = codice;
  r.nome = nome;
  const int64_t c = cella(r.valore2 / 50.0 - 1);
  f.percorso[c].tipo = tipo_punto_stazione;
  f.percorso[c].dato1 = static_cast<int16_t>(s);
}

// True when the cell a point feature at `posizione` takes is free.
inline bool libera_a(const scenario& f, int32_t posizione) {
  const uint8_t t = f.percorso[cella(posizione / 50.0 + 1)].tipo;
  return t == tipo_vuoto || t == tipo_marca_montagna;
}

// A slow order from `x` over `l` metres, as the recorder lays its start and end.
inline void metti_rallentamento(scenario& f, int32_t x, int32_t v, int32_t l, int16_t f_tt = 0) {
  cella_percorso& inizio = f.percorso[cella(x / 50.0 + 1)];
  cella_percorso& fine = f.percorso[cella((x + l) / 50.0 + 1)];
  fine.tipo = tipo_fine_rallentamento;
  fine.dato1 = static_cast<int16_t>(v);
  fine.dato3 = f_tt;
  inizio.tipo = tipo_inizio_rallentamento;
  inizio.dato1 = static_cast<int16_t>(v);
  inizio.dato3 = f_tt;
}

// A mountain span from `inizio` to `fine` metres.
inline void metti_galleria(scenario& f, int32_t inizio, int32_t fine) {
  for (int64_t c = cella(inizio / 50.0); c <= cella(fine / 50.0 - 1); ++c) f.percorso[c].montagna = 1;
}

// A kilometre board at `posizione` showing `testo`, its text in the next board slot down.
inline void metti_cartello(scenario& f, int32_t posizione, const std::string& testo) {
  int s = slot_cartelli;
  while (s > slot_prima_stazione && !f.tabella_stazioni[s].nome.empty()) --s;
  f.tabella_stazioni[s].nome = testo;
  cella_percorso& c = f.percorso[cella(posizione / 50.0 + 1)];
  c.tipo = tipo_indicatore_km;
  c.dato1 = static_cast<int16_t>(s);
}

// A route of `lunghezza` metres (when 0: 5 km a station, 1.5 km a slow order,
// at least 10 km) with `stazioni` stations evenly spaced from 0 (at most 78,
// what the station table holds), stops at every third one (times from 8:00,
// two minutes a station), `rallentamenti` slow orders of 400 m spread along it
// clear of the stations and of each other's cells, a limit that changes every
// 3.5 km, and a tunnel every 40 km with a kilometre board after it while the
// station table has room (stations and boards share it, as the compiler
// allows: at most 78 together).
inline scenario scenario_generato(int stazioni, int rallentamenti, int32_t lunghezza = 0) {
  if (stazioni > 78) std::abort();
  if (lunghezza == 0) lunghezza = std::max({10000, stazioni * 5000, 3000 + rallentamenti * 1500});
  scenario f = percorso_vuoto(lunghezza);
  const int32_t passo = std::max(5000, lunghezza / std::max(1, stazioni) / 50 * 50);
  for (int32_t p = 0, k = 0; p < lunghezza; p += 3500, ++k) metti_velocita(f, p, 100 + 10 * (k % 5));
  for (int i = 0; i < stazioni; ++i) {
    const bool fermata = i == 0 || i + 1 == stazioni || i % 3 == 0;
    metti_stazione(f, i * passo, "STAZIONE " + std::to_string(i + 1), fermata ? 8 * 3600 + i * 120 : 0);
  }
  for (int32_t p = 20000, cartelli = 0; p + 3000 < lunghezza; p += 40000) {
    metti_galleria(f, p, p + 1500);
    if (stazioni + cartelli++ < 78) metti_cartello(f, p + 2600, "(Km " + std::to_string(p / 1000 + 2) + "+600)");
  }
  const int32_t intervallo = rallentamenti > 0 ? (lunghezza - 3000) / rallentamenti / 50 * 50 : 0;
  for (int k = 0; k < rallentamenti; ++k) {
    int32_t x = 1000 + k * intervallo;
    // Clear of the stations: an order near one moves 1 km on.
    if (x % passo < 300 || x % passo > passo - 700) x += 1000;
    while (!libera_a(f, x) || !libera_a(f, x + 400)) x += 100;
    metti_rallentamento(f, x, 30 + 10 * (k % 6), 400, static_cast<int16_t>(k % 7 == 3));
  }
  return f;
}

}  // namespace prova_derivati
