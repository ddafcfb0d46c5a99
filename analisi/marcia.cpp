#include "analisi/marcia.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "formato/numeri.h"
#include "formato/vocabolario.h"

namespace {

constexpr double metri_cella = 50.0;
constexpr double giorno_s = 86400.0;
// A stop's time earlier than the one before it is read as a crossing of
// midnight when that makes the two at most half a day apart.
constexpr double mezza_giornata_s = 43200.0;

// An option that is not a number counts as not given.
std::optional<double> data(const std::optional<double>& o) {
  if (o && !std::isnan(*o)) return o;
  return std::nullopt;
}

double al_minuto(double s) { return arrotonda(s / 60.0) * 60.0; }

}  // namespace

// The stations of the table: from the first station slot up to the first
// empty slot, never into the kilometre boards' texts (which fill the table
// from its top down, the lowest one named by a board on the grid).
std::vector<stazione_marcia> stazioni_del_percorso(const scenario& f) {
  int ultimo = slot_cartelli;
  for (const cella_percorso& c : f.percorso)
    if (c.tipo == tipo_indicatore_km && c.dato1 >= slot_prima_stazione && c.dato1 <= slot_cartelli)
      ultimo = std::min(ultimo, c.dato1 - 1);
  std::vector<stazione_marcia> r;
  for (int s = slot_prima_stazione; s <= ultimo; ++s) {
    const record_stazione& st = f.tabella_stazioni[static_cast<std::size_t>(s)];
    if (st == record_stazione{}) break;
    r.push_back({s, st.nome, st.valore3, st.codice, static_cast<double>(st.codice)});
  }
  return r;
}

modello_treno modello_da_scenario(const scenario& f, const opzioni_marcia& o) {
  const record_stazione& treno = f.tabella_stazioni[slot_treno_percorso];
  modello_treno m;
  m.percentuale_letta = treno.valore1;
  m.vetture = treno.valore3;
  m.percentuale_massa_frenata =
      massa_frenata_nei_limiti(data(o.percentuale_massa_frenata).value_or(static_cast<double>(treno.valore1)));
  m.decelerazione = data(o.decelerazione).value_or(decelerazione_da_massa_frenata(m.percentuale_massa_frenata));
  m.accelerazione = data(o.accelerazione).value_or(accelerazione_predefinita);
  m.sosta_s = data(o.sosta_s).value_or(sosta_predefinita_s);
  m.lunghezza_vettura_m = data(o.lunghezza_vettura_m).value_or(lunghezza_vettura_predefinita_m);
  uint8_t massima = 0;
  for (const cella_percorso& c : f.percorso) massima = std::max(massima, c.velocita);
  m.velocita_massima_kmh = data(o.velocita_massima_kmh)
                               .value_or(massima > 0 ? massima * 5.0 : velocita_massima_di_ripiego_kmh);
  m = modello_nei_limiti(m);
  m.lunghezza_treno_m = std::max(0, m.vetture) * m.lunghezza_vettura_m;
  return modello_nei_limiti(m);
}

profilo_corsa profilo_da_scenario(const scenario& f) {
  profilo_corsa p;
  const std::vector<cella_percorso>& c = f.percorso;
  // A cell's running values hold from its point for 50 m; a gradient code of
  // 0 is no gradient laid, the line taken as level.
  for (std::size_t i = 0; i < c.size();) {
    std::size_t j = i + 1;
    while (j < c.size() && c[j].velocita == c[i].velocita && c[j].pendenza == c[i].pendenza) ++j;
    p.tratti.push_back({metri_cella * static_cast<double>(i), metri_cella * static_cast<double>(j),
                        c[i].velocita * 5.0, c[i].pendenza == 0 ? 0.0 : c[i].pendenza - 100.0});
    i = j;
  }

  // A slow order runs from its start cell to the next end cell of the same
  // speed (both carry it), so that orders that overlap or nest pair rightly.
  // An end with no start open is passed over; a start never closed (its end
  // fell on its own cell, or was overwritten) restricts its own cell.
  struct aperto {
    std::size_t cella;
    bool treno_intero;
  };
  std::map<int16_t, std::vector<aperto>> aperti;
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i].tipo == tipo_inizio_rallentamento) {
      aperti[c[i].dato1].push_back({i, c[i].dato3 == 1});
    } else if (c[i].tipo == tipo_fine_rallentamento) {
      const auto a = aperti.find(c[i].dato1);
      if (a == aperti.end() || a->second.empty()) continue;
      const aperto o = a->second.back();
      a->second.pop_back();
      p.rallentamenti.push_back({metri_cella * static_cast<double>(o.cella), metri_cella * static_cast<double>(i),
                                 static_cast<double>(c[i].dato1), o.treno_intero});
    } else if (c[i].tipo == tipo_abbattimento) {
      p.punti.push_back({metri_cella * static_cast<double>(i), static_cast<double>(c[i].dato1)});
    }
  }
  for (const auto& [v, ordini] : aperti)
    for (const aperto& o : ordini)
      p.rallentamenti.push_back({metri_cella * static_cast<double>(o.cella),
                                 metri_cella * static_cast<double>(o.cella + 1), static_cast<double>(v),
                                 o.treno_intero});

  for (const stazione_marcia& s : stazioni_del_percorso(f))
    if (s.codice != 0) p.fermate.push_back(s.posizione_m);
  return p;
}

marcia calcola_marcia(const scenario& f, const modello_treno& modello) {
  marcia r;
  r.modello = modello_nei_limiti(modello);
  const modello_treno& m = r.modello;

  std::vector<stazione_marcia> stazioni = stazioni_del_percorso(f);
  // The stops' times, unfolded: the first time that comes back by less than
  // half a day crosses midnight; any other that comes back is told.
  std::vector<std::size_t> fermate;
  double giorni = 0.0, prima = 0.0;
  for (std::size_t k = 0; k < stazioni.size(); ++k) {
    stazione_marcia& s = stazioni[k];
    if (s.codice == 0) continue;
    double ora = s.codice + giorni;
    if (!fermate.empty() && ora < prima) {
      if (ora + giorno_s - prima <= mezza_giornata_s) {
        if (giorni > 0) r.anomalie.push_back({s.slot, anomalia_orario::seconda_mezzanotte});
        giorni += giorno_s;
        ora += giorno_s;
      } else {
        r.anomalie.push_back({s.slot, anomalia_orario::ora_indietro});
      }
    }
    s.ora_s = ora;
    prima = ora;
    fermate.push_back(k);
  }

  for (std::size_t k = 0; k < stazioni.size(); ++k)
    if (fermate.empty() || k < fermate.front() || k > fermate.back()) r.fuori_corsa.push_back(stazioni[k]);
  if (fermate.empty()) return r;

  profilo_corsa p = profilo_da_scenario(f);
  const corsa c = calcola_corsa(p, m);
  r.senza_limite = c.senza_limite;
  if (c.tratte.empty()) {
    const stazione_marcia& s = stazioni[fermate.front()];
    r.profilo.push_back({static_cast<double>(s.posizione_m), 0.0, s.ora_s});
  }

  for (std::size_t k = 0; k < c.tratte.size(); ++k) {
    const tratta_corsa& t = c.tratte[k];
    sezione s;
    s.da = stazioni[fermate[k]];
    s.a = stazioni[fermate[k + 1]];
    s.distanza_m = t.a_m > t.da_m ? t.a_m - t.da_m : 0.0;
    s.partenza_s = s.da.ora_s;
    const bool ultima = k + 2 == fermate.size();
    s.tempo_orario_s = (ultima ? s.a.ora_s : s.a.ora_s - m.sosta_s) - s.partenza_s;
    s.tempo_minimo_s = t.tempo_s;
    s.margine_s = s.tempo_orario_s - s.tempo_minimo_s;
    s.margine_percento = s.tempo_minimo_s > 0 ? 100.0 * s.margine_s / s.tempo_minimo_s : 0.0;
    s.mantenibile = s.margine_s >= 0;
    // The margin is spread over the section in proportion to the fastest run's time.
    const double quota = s.tempo_minimo_s > 0 ? s.tempo_orario_s / s.tempo_minimo_s : 0.0;
    for (std::size_t j = fermate[k] + 1; j < fermate[k + 1]; ++j) {
      const double tempo = tempo_in(t, stazioni[j].posizione_m);
      s.passaggi.push_back({stazioni[j], s.partenza_s + tempo, al_minuto(s.partenza_s + tempo * quota)});
    }
    for (const punto_velocita& q : t.punti) r.profilo.push_back({q.posizione_m, q.velocita_kmh, s.partenza_s + q.tempo_s});
    r.sezioni.push_back(std::move(s));
  }
  return r;
}
